// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_key.h"

namespace {

// Adding the mask is subtracting one modulo the grid size.
std::uint32_t Mask(int level) {
    return static_cast<std::uint32_t>((std::uint64_t{1} << level) - 1);
}

} // namespace

std::optional<TileKey> TileKey::FromLetters(std::string_view letters) {
    if (letters.size() > static_cast<std::size_t>(kMaxTileLevel))
        return std::nullopt;
    TileKey key{static_cast<int>(letters.size()), 0, 0};
    for (char letter : letters) {
        if (!IsQuadLetter(letter))
            return std::nullopt;
        key.row = key.row << 1 | (letter == 's' || letter == 't' ? 1u : 0u);
        key.column = key.column << 1 | (letter == 'r' || letter == 's' ? 1u : 0u);
    }
    return key;
}

std::string TileKey::Letters() const {
    std::string letters(static_cast<std::size_t>(level), 'q');
    for (int i = 0; i < level; ++i) {
        const int shift = level - 1 - i;
        letters[static_cast<std::size_t>(i)] =
            QuadLetter((row >> shift & 1) != 0, (column >> shift & 1) != 0);
    }
    return letters;
}

TileKey TileKey::East() const {
    return {level, (column + 1) & Mask(level), row};
}

TileKey TileKey::West() const {
    return {level, (column + Mask(level)) & Mask(level), row};
}

TileKey TileKey::North() const {
    return {level, column, (row + Mask(level)) & Mask(level)};
}

TileKey TileKey::South() const {
    return {level, column, (row + 1) & Mask(level)};
}

std::array<TileKey, 4> TileKey::Block() const {
    const TileKey topRight = East();
    return {*this, topRight, topRight.South(), South()};
}
