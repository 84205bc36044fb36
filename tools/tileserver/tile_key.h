// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tile keys as the server names them: 't' followed by the tile's quadrant letters.
#include "tiles/tile_key.h"

#include <optional>
#include <string_view>

namespace tileserver {

// Accepts exactly 't' plus 1 to kHighestLevel lower-case letters from q, r, s, t.
std::optional<TileKey> ParseTileKey(std::string_view key);

} // namespace tileserver
