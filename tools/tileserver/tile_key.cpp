// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/tile_key.h"

namespace tileserver {

std::optional<TileKey> ParseTileKey(std::string_view key) {
    if (key.size() < 2 || key.size() > 1 + static_cast<std::size_t>(kHighestLevel) ||
        key.front() != 't')
        return std::nullopt;
    return TileKey::FromLetters(key.substr(1));
}

} // namespace tileserver
