// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rendering of spherical Mercator tiles from an equirectangular world picture.
#include "tools/tileserver/rgb_image.h"
#include "tools/tileserver/tile_key.h"

namespace tileserver {

// The kTileSide square tile at position, sampled bilinearly from world, which spans
// longitude -180 to 180 from left to right and latitude 90 to -90 from top to bottom.
// The world wraps around east-west; north and south the edge rows are repeated.
// world must hold at least one pixel.
RgbImage RenderMercatorTile(const RgbImage& world, const TileKey& tile);

} // namespace tileserver
