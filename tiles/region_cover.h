// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rectangle of tiles that covers a region at one level: what a picture or a map of the
// region holds. A region on both sides of the 180th meridian is covered across it when that
// is narrower than going round the other way.
#include "tiles/geo_region.h"
#include "tiles/tile_block.h"

#include <optional>

// Nothing when the region meets no tile of the level.
std::optional<TileBlock> RegionCover(const GeoRegion& region, int level);
