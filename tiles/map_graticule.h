// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The latitude/longitude grid drawn over the map: a round spacing that suits the level, and
// where its lines cross a block of tiles, labelled as the status bar writes coordinates.
#include "tiles/tile_key.h"

#include <QString>

#include <cstdint>
#include <vector>

// Spacings are counted in thousandths of an arc minute, so that every line lies on a whole
// number of them and its label never suffers a rounding error.
inline constexpr std::int64_t kGraticuleUnitsPerDegree = 60000;

// The finest step of the ladder 90°, 45°, 30°, 10°, 5°, 2°, 1°, 30', 10', 5', 2', 1', 0,5', 0,2'
// ... 0,001' whose meridians lie at least minPixels apart at the level; the ladder's ratios are at
// most 3, so they lie less than 3 × minPixels apart. Parallels take the step of the meridians
// at minPixels × cos(latitude).
std::int64_t GraticuleStep(int level, double minPixels = 100);

struct GraticuleLine {
    bool meridian = false; // a line of longitude, drawn top to bottom; else a parallel
    double pixel = 0;      // x of a meridian, y of a parallel, from the block's top-left corner
    QString label;         // e.g. N55г 30мин, E37г 0мин
    friend bool operator==(const GraticuleLine&, const GraticuleLine&) = default;
};

// The lines crossing a block of width × height pixels whose top-left tile is anchor, meridians
// west to east, then parallels north to south, each at the step that suits it. A block that runs
// past the east edge or the south edge of the world goes on from the west or north edge, as the
// view does.
std::vector<GraticuleLine> GraticuleLines(const TileKey& anchor, int width, int height);
