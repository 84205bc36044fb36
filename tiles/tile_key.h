// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tile as a value: its level and its place in the 2^level by 2^level grid of that level,
// rows from the north edge downwards and columns from the west edge eastwards. The quadrant
// letters name the same place one level at a time, the coarsest first: each letter gives one
// row bit and one column bit. Plain C++, so that the demo tile server reads keys with the
// same code as the program.
#include "tiles/tile_side.h"

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The deepest level whose rows and columns still fit 32 bits.
inline constexpr int kMaxTileLevel = 32;

// The levels the program works in: the view's zoom, the levels a source may declare and the
// demo server's tiles all lie in this range.
inline constexpr int kLowestLevel = 1;
inline constexpr int kHighestLevel = 20;

// The letters by position in a 2 by 2 block: top-left, top-right, bottom-right, bottom-left.
inline constexpr std::array<char, 4> kQuadLetters{'q', 'r', 's', 't'};

// The letter of the quarter with these bits: q top-left, r top-right, s bottom-right,
// t bottom-left.
constexpr char QuadLetter(bool south, bool east) {
    return south ? (east ? 's' : 't') : (east ? 'r' : 'q');
}

constexpr bool IsQuadLetter(char c) {
    return c == 'q' || c == 'r' || c == 's' || c == 't';
}

struct TileKey {
    int level = 0;            // 0 is the whole world in one tile
    std::uint32_t column = 0; // below 2^level
    std::uint32_t row = 0;    // below 2^level

    // Ordered by level, then column, then row.
    friend auto operator<=>(const TileKey&, const TileKey&) = default;

    // The key of a text of quadrant letters; nothing for any other character or for more
    // than kMaxTileLevel letters. No letters at all is the level-0 world.
    static std::optional<TileKey> FromLetters(std::string_view letters);
    std::string Letters() const;

    // The tile next to this one at the same level. The world wraps around both ways: east of
    // the easternmost column is the westernmost, north of the top row is the bottom row.
    TileKey East() const;
    TileKey West() const;
    TileKey North() const;
    TileKey South() const;

    // The 2 by 2 block with this tile top-left, in block order.
    std::array<TileKey, 4> Block() const;
};

template <> struct std::hash<TileKey> {
    std::size_t operator()(const TileKey& key) const noexcept {
        const std::uint64_t place = std::uint64_t{key.row} << 32 | key.column;
        return std::hash<std::uint64_t>{}(place ^ (std::uint64_t(key.level) * 0x9E3779B97F4A7C15u));
    }
};
