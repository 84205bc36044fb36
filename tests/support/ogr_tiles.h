// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles a region meets, found independently of the product's sweep: every tile square
// near the region asked of GDAL's geometry whether it intersects the region's polygons.
#include "tiles/geo_region.h"
#include "tiles/tile_key.h"

#include <set>

std::set<TileKey> IntersectingTiles(const std::vector<GeoPolygon>& polygons, int level);
