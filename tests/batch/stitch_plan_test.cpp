#include "batch/stitch_plan.h"

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
    // Level 2 with a five-character prefix; the anchor is the north-east corner tile.
    const QString prefix = QStringLiteral("h/?t=");
    const StitchPlan plan = PlanStitch(prefix + "rr", 5, 2, 3);
    const QStringList paths{"rr", "rs", "sr", "qq", "qt", "tq"};
    ASSERT_EQ(plan.tiles.size(), paths.size());
    for (int k = 0; k < paths.size(); ++k) {
        const StitchTile& tile = plan.tiles[k];
        EXPECT_EQ(tile.ref, prefix + paths[k]) << k;
        EXPECT_EQ(tile.column, k / 3);
        EXPECT_EQ(tile.row, k % 3);
        EXPECT_EQ(tile.x, 256 * (k / 3));
        EXPECT_EQ(tile.y, 256 * (k % 3));
    }
    EXPECT_EQ(plan.southEastRef, prefix + "tq");
}

TEST(StitchPlan, SingleTileAndRefusedSizes) {
    const StitchPlan one = PlanStitch(QStringLiteral("tq"), 1, 1, 1);
    ASSERT_EQ(one.tiles.size(), 1);
    EXPECT_EQ(one.southEastRef, QStringLiteral("tq"));
    EXPECT_EQ(PlanStitch(QStringLiteral("tq"), 1, 2, 2).southEastRef,
              QStringLiteral("tq").replace(1, 1, u's'));
    EXPECT_TRUE(PlanStitch(QStringLiteral("tq"), 1, 0, 5).tiles.empty());
    EXPECT_TRUE(PlanStitch(QStringLiteral("tq"), 1, -1, -1).tiles.empty());
    EXPECT_TRUE(PlanStitch(QStringLiteral("tq"), 1, 256, 1).tiles.empty());
    EXPECT_EQ(PlanStitch(QStringLiteral("tq"), 1, 255, 255).tiles.size(), 255 * 255);
}
