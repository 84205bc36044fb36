// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_plan.h"

#include "tests/store/qt_print.h"

#include <gtest/gtest.h>

TEST(StitchPlan, SideFields) {
    EXPECT_EQ(StitchSideFromText(u"7"), 7);
    EXPECT_EQ(StitchSideFromText(u"-1"), -1);
    EXPECT_EQ(StitchSideFromText(u"x"), 2);
    EXPECT_EQ(StitchSideFromText(u""), 2);
}

TEST(StitchPlan, Estimate) {
    const StitchEstimate fiveByFive = EstimateStitch(u"5", u"5");
    EXPECT_EQ(fiveByFive.memoryText, QStringLiteral("Память: 4,6875 мб"));
    EXPECT_EQ(fiveByFive.downloadText, QStringLiteral("скачать~ 0,234375 мб"));
    EXPECT_TRUE(fiveByFive.canStart);
    // Two non-numbers read as -1 each: a positive product.
    const StitchEstimate notNumbers = EstimateStitch(u"a", u"");
    EXPECT_EQ(notNumbers.memoryText, QStringLiteral("Память: 0,1875 мб"));
    EXPECT_TRUE(notNumbers.canStart);
    const StitchEstimate zero = EstimateStitch(u"0", u"5");
    EXPECT_EQ(zero.memoryText, QStringLiteral("Память: 0 мб"));
    EXPECT_FALSE(zero.canStart);
    EXPECT_FALSE(EstimateStitch(u"-3", u"5").canStart);
    // The pixel count overflows 32 bits; the estimate does not wrap, and shows the
    // single-precision value nearest 1875000000.
    EXPECT_EQ(EstimateStitch(u"100000", u"100000").memoryText,
              QStringLiteral("Память: 1875000064 мб"));
    EXPECT_TRUE(EstimateStitch(u"2147483647", u"2147483647").canStart);
}

TEST(StitchPlan, ColumnsFromWestToEastWrappingPastTheEdge) {
    // Level 2; the anchor is the north-east corner tile.
    const StitchPlan plan = PlanStitch(QStringLiteral("rr"), 2, 3);
    const QStringList paths{"rr", "rs", "sr", "qq", "qt", "tq"};
    ASSERT_EQ(plan.tiles.size(), paths.size());
    for (int k = 0; k < paths.size(); ++k) {
        const StitchTile& tile = plan.tiles[k];
        EXPECT_EQ(tile.letters, paths[k]) << k;
        EXPECT_EQ(tile.column, k / 3);
        EXPECT_EQ(tile.row, k % 3);
        EXPECT_EQ(tile.x, 256 * (k / 3));
        EXPECT_EQ(tile.y, 256 * (k % 3));
    }
    EXPECT_EQ(plan.southEastLetters, "tq");
}

TEST(StitchPlan, SingleTileAndRefusedSizes) {
    const StitchPlan one = PlanStitch(QStringLiteral("q"), 1, 1);
    ASSERT_EQ(one.tiles.size(), 1);
    EXPECT_EQ(one.southEastLetters, QStringLiteral("q"));
    EXPECT_EQ(PlanStitch(QStringLiteral("q"), 2, 2).southEastLetters, QStringLiteral("s"));
    EXPECT_TRUE(PlanStitch(QStringLiteral("q"), 0, 5).tiles.empty());
    EXPECT_TRUE(PlanStitch(QStringLiteral("q"), -1, -1).tiles.empty());
    EXPECT_TRUE(PlanStitch(QStringLiteral("q"), 256, 1).tiles.empty());
    EXPECT_EQ(PlanStitch(QStringLiteral("q"), 255, 255).tiles.size(), 255 * 255);
}
