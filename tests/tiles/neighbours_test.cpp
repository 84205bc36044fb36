#include "tiles/neighbours.h"
#include "tiles/tile_ref.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using Step = QString (*)(const QString&, int);

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
    // The prefix ends in a quadrant letter, as the default one does, and must never change.
    const QString prefix = QStringLiteral("http://host/kh?v=5&t=t");
    for (const Case& c : cases)
        EXPECT_EQ(c.step(prefix + c.from, prefix.size()), prefix + c.to) << c.from;
}

TEST(Neighbours, PrefixLengthOutOfRangeNeverReadsOutside) {
    EXPECT_EQ(EastNeighbour(QStringLiteral("qr"), -5), QStringLiteral("rq"));
    EXPECT_EQ(EastNeighbour(QStringLiteral("qr"), 99), QStringLiteral("qr"));
    EXPECT_EQ(QuadPathOf(QStringLiteral("abqr"), 99), QString());
    EXPECT_EQ(LevelOf(QStringLiteral("abqr"), 99), 0);
    EXPECT_EQ(LevelOf(QStringLiteral("abqr"), -3), 4);
    EXPECT_EQ(PrefixOf(QStringLiteral("abqr"), -1), QString());
    EXPECT_FALSE(IsQuadPath(u""));
    EXPECT_FALSE(IsQuadPath(u"qxr"));
}

// The letter carry of the references against the key's row and column arithmetic.
TEST(Neighbours, RandomPathsMoveLikeTheKeyAndInvert) {
    std::mt19937 random(20240611);
    const QString prefix = QStringLiteral("t=t");
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
        const QString ref = prefix + QuadPathOf(key);
        for (const Move& move : moves) {
            const QString next = move.step(ref, prefix.size());
            ASSERT_EQ(move.inverse(next, prefix.size()), ref);
            ASSERT_EQ(next, prefix + QuadPathOf((key.*move.keyStep)())) << ref.toStdString();
        }
    }
}
