// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/neighbours.h"
#include "tiles/tile_ref.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using Step = QString (*)(const QString&);

} // namespace

TEST(Neighbours, WorkedExamplesIncludingWrapAroundAndDamagedLetters) {
    struct Case {
        Step step;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {EastNeighbour, "qr", "rq"},    {EastNeighbour, "rr", "qq"},
        {WestNeighbour, "q", "r"},      {NorthNeighbour, "tq", "qt"},
        {SouthNeighbour, "ts", "qr"},   {NorthNeighbour, "qr", "ts"},
        {EastNeighbour, "r", "q"},      {NorthNeighbour, "q", "t"},
        {SouthNeighbour, "t", "q"},     {EastNeighbour, "rrr", "qqq"},
        {SouthNeighbour, "ttt", "qqq"}, {WestNeighbour, "qtq", "rsr"},
        {EastNeighbour, "qxr", "qxq"},  {EastNeighbour, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.step(c.from), c.to) << c.from;
}

TEST(Neighbours, OnlyQuadrantLettersMakeAPath) {
    EXPECT_FALSE(IsQuadPath(u""));
    EXPECT_FALSE(IsQuadPath(u"qxr"));
}

// The letter carry of the references against the key's row and column arithmetic.
TEST(Neighbours, RandomPathsMoveLikeTheKeyAndInvert) {
    std::mt19937 random(20240611);
    struct Move {
        Step step;
        Step inverse;
        TileKey (TileKey::*keyStep)() const;
    };
    const Move moves[] = {{EastNeighbour, WestNeighbour, &TileKey::East},
                          {WestNeighbour, EastNeighbour, &TileKey::West},
                          {NorthNeighbour, SouthNeighbour, &TileKey::North},
                          {SouthNeighbour, NorthNeighbour, &TileKey::South}};
    for (int trial = 0; trial < 500; ++trial) {
        const int level = 1 + static_cast<int>(random() % 20);
        const std::uint32_t mask = (1u << level) - 1;
        const TileKey key{level, static_cast<std::uint32_t>(random() & mask),
                          static_cast<std::uint32_t>(random() & mask)};
        const QString letters = QuadPathOf(key);
        for (const Move& move : moves) {
            const QString next = move.step(letters);
            ASSERT_EQ(move.inverse(next), letters);
            ASSERT_EQ(next, QuadPathOf((key.*move.keyStep)())) << letters.toStdString();
        }
    }
}
