#include "tools/tileserver/tile_key.h"

namespace tileserver {

std::optional<TilePosition> ParseTileKey(std::string_view key) {
    if (key.size() < 2 || key.front() != 't')
        return std::nullopt;
    const std::string_view letters = key.substr(1);
    if (letters.size() > static_cast<std::size_t>(kMaxTileLevel))
        return std::nullopt;
    TilePosition tile;
    tile.level = static_cast<int>(letters.size());
    for (char letter : letters) {
        std::uint32_t rowBit = 0;
        std::uint32_t columnBit = 0;
        switch (letter) {
        case 'q':
            break;
        case 'r':
            columnBit = 1;
            break;
        case 's':
            rowBit = 1;
            columnBit = 1;
            break;
        case 't':
            rowBit = 1;
            break;
        default:
            return std::nullopt;
        }
        tile.row = tile.row << 1 | rowBit;
        tile.column = tile.column << 1 | columnBit;
    }
    return tile;
}

} // namespace tileserver
