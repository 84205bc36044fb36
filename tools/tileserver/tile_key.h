#pragma once
// Tile keys as the server names them: 't' followed by one quadrant letter per level,
// q top-left, r top-right, s bottom-right, t bottom-left, the coarsest level first.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tileserver {

inline constexpr int kMaxTileLevel = 20;

// A tile's place in the 2^level by 2^level grid: rows from the north edge downwards,
// columns from the west edge eastwards.
struct TilePosition {
    int level = 0;
    std::uint32_t row = 0;
    std::uint32_t column = 0;
};

// Accepts exactly 't' plus 1 to kMaxTileLevel lower-case letters from q, r, s, t.
std::optional<TilePosition> ParseTileKey(std::string_view key);

} // namespace tileserver
