// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/map_graticule.h"

#include "tiles/coordinates.h"
#include "tiles/tile_block.h"
#include "tiles/tile_side.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::int64_t kLadder[] = {5400000, 2700000, 1800000, 600000, 300000, 120000, 60000,
                                    30000,   10000,   5000,    2000,   1000,   500,    200,
                                    100,     50,      20,      10,     5,      2,      1};
constexpr std::int64_t kHalfTurn = 180 * kGraticuleUnitsPerDegree;

// Decimals of the minutes that a step needs: none down to whole minutes.
int MinuteDecimals(std::int64_t step) {
    int decimals = 0;
    for (std::int64_t unit = 1000; step % unit != 0; unit /= 10)
        ++decimals;
    return decimals;
}

// The label of a line on a whole number of units. The value is nudged away from zero by far
// less than a displayed digit, so that truncating to whole degrees never falls a unit short.
QString LineLabel(std::int64_t units, QChar positive, QChar negative, std::int64_t step) {
    const double degrees = static_cast<double>(units) / kGraticuleUnitsPerDegree;
    return DegreesMinutesText(degrees + std::copysign(1e-9, degrees), positive, negative,
                              MinuteDecimals(step));
}

double PixelsPerUnit(int level) {
    return std::ldexp(double(kTileSide), level) / (360.0 * kGraticuleUnitsPerDegree);
}

} // namespace

std::int64_t GraticuleStep(int level, double minPixels) {
    const double perUnit = PixelsPerUnit(level);
    std::int64_t chosen = kLadder[0];
    for (std::int64_t step : kLadder)
        if (step * perUnit >= minPixels)
            chosen = step;
    return chosen;
}

std::vector<GraticuleLine> GraticuleLines(const TileKey& anchor, int width, int height) {
    std::vector<GraticuleLine> lines;
    std::int64_t step = GraticuleStep(anchor.level);
    const double perUnit = PixelsPerUnit(anchor.level);
    // Meridians: longitudes east of the anchor's west edge run on past 180° unwrapped.
    const double west = anchor.column * double(kTileSide);
    const std::int64_t first = static_cast<std::int64_t>(std::ceil(west / perUnit / step));
    for (std::int64_t n = first;; ++n) {
        const double x = n * step * perUnit - west;
        if (x >= width)
            break;
        const std::int64_t east = n * step % (2 * kHalfTurn) - kHalfTurn; // -180° .. 180°
        lines.push_back({true, x, LineLabel(-east, u'W', u'E', step)});
    }
    // Parallels, once for each time the world's rows pass through the block.
    struct Band {
        double start, north, south; // the world's first row in block rows, and its latitudes
    };
    std::vector<Band> bands;
    const double worldRows = std::ldexp(1.0, anchor.level);
    const double top = anchor.row, bottom = top + height / double(kTileSide);
    for (double start = 0; start < bottom; start += worldRows) {
        const double from = std::max(top - start, 0.0), to = std::min(bottom - start, worldRows);
        if (from < to)
            bands.push_back(
                {start, RowEdgeLatitude(anchor.level, from), RowEdgeLatitude(anchor.level, to)});
    }
    // Parallels spread out towards the poles: their step follows the scale at the latitude
    // nearest the equator, so that none fall closer than the meridians' spacing.
    double nearest = 90;
    for (const Band& band : bands)
        nearest = std::min(nearest, std::abs(std::clamp(0.0, band.south, band.north)));
    step = GraticuleStep(anchor.level, 100 * std::cos(nearest * std::numbers::pi / 180));
    for (const Band& band : bands) {
        const auto n0 =
            static_cast<std::int64_t>(std::floor(band.north * kGraticuleUnitsPerDegree / step));
        for (std::int64_t n = n0; n * step >= band.south * kGraticuleUnitsPerDegree; --n) {
            const double degrees = static_cast<double>(n * step) / kGraticuleUnitsPerDegree;
            const double y = (RowAtLatitude(anchor.level, degrees) + band.start - top) * kTileSide;
            if (y >= 0 && y < height)
                lines.push_back({false, y, LineLabel(n * step, u'N', u'S', step)});
        }
    }
    return lines;
}
