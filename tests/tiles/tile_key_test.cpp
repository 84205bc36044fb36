// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_key.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

TileKey Key(std::string_view letters) {
    return TileKey::FromLetters(letters).value();
}

// Random keys at every level, the deepest included.
std::vector<TileKey> SomeKeys() {
    std::mt19937 random(16);
    std::vector<TileKey> keys;
    for (int level = 0; level <= kMaxTileLevel; ++level) {
        const auto mask = static_cast<std::uint32_t>((std::uint64_t{1} << level) - 1);
        for (int i = 0; i < 20; ++i)
            keys.push_back({level, static_cast<std::uint32_t>(random()) & mask,
                            static_cast<std::uint32_t>(random()) & mask});
    }
    return keys;
}

} // namespace

TEST(TileKey, LettersAndKeysRoundTrip) {
    struct Case {
        std::string letters;
        TileKey key;
    };
    const Case cases[] = {{"", {0, 0, 0}},
                          {"tq", {2, 0, 2}},
                          {"rq", {2, 2, 0}},
                          {"tsrt", {4, 0b0110, 0b1101}},
                          {std::string(32, 's'), {32, 0xFFFFFFFF, 0xFFFFFFFF}}};
    for (const Case& c : cases) {
        EXPECT_EQ(TileKey::FromLetters(c.letters), c.key) << c.letters;
        EXPECT_EQ(c.key.Letters(), c.letters);
    }
    for (const TileKey& key : SomeKeys())
        ASSERT_EQ(TileKey::FromLetters(key.Letters()), key) << key.Letters();
    for (const std::string& bad :
         std::vector<std::string>{"x", "Q", "qxr", "tq ", "q\0"s, std::string(33, 'q')})
        EXPECT_FALSE(TileKey::FromLetters(bad)) << bad;
}

TEST(TileKey, NeighboursAndBlocksAgreeAndWrap) {
    for (const TileKey& key : SomeKeys()) {
        EXPECT_EQ(key.East().West(), key);
        EXPECT_EQ(key.North().South(), key);
        if (key.level == kMaxTileLevel)
            continue;
        // The block of a tile's top-left quarter is its four quarters.
        const std::array<TileKey, 4> block = Key(key.Letters() + 'q').Block();
        for (std::size_t slot = 0; slot < 4; ++slot)
            EXPECT_EQ(block[slot].Letters(), key.Letters() + kQuadLetters[slot]);
    }
    // The east edge of the deepest level wraps without overflowing.
    EXPECT_EQ(Key(std::string(kMaxTileLevel, 's')).East(), Key(std::string(kMaxTileLevel, 't')));
}
