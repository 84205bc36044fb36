// SPDX-License-Identifier: GPL-3.0-or-later
// The map's block of tiles: its size, its fetch order and the drag's move in whole tiles.
#include "tiles/map_block.h"

#include <gtest/gtest.h>

namespace {

TEST(MapBlock, SizeCoversTheAreaAndNeverShrinksBelowTheView) {
    const std::pair<std::pair<int, int>, BlockSize> cases[] = {
        {{512, 512}, {2, 2}}, {{100, 0}, {2, 2}},    {{-5, -5}, {2, 2}},
        {{513, 512}, {3, 2}}, {{1280, 742}, {5, 3}}, {{1920, 922}, {8, 4}},
    };
    for (const auto& [area, size] : cases)
        EXPECT_EQ(BlockSizeFor(area.first, area.second), size) << area.first << 'x' << area.second;
}

TEST(MapBlock, FetchOrderIsTheViewThenRingsOutwards) {
    const std::vector<BlockCell> order = BlockFetchOrder({4, 3});
    const std::vector<BlockCell> expected = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, // the view's slots
                                             {2, 0}, {2, 1}, {0, 2}, {1, 2},
                                             {2, 2}, {3, 0}, {3, 1}, {3, 2}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(BlockFetchOrder({2, 2}).size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ViewSlotOf(order[i]), static_cast<int>(i));
    EXPECT_EQ(ViewSlotOf({2, 0}), -1);
    EXPECT_EQ(ViewSlotOf({0, -1}), -1);
}

TEST(MapBlock, DragMovesTheAnchorAgainstThePointerToTheNearestTile) {
    const std::pair<std::pair<int, int>, BlockCell> cases[] = {
        {{-300, 0}, {1, 0}},    {{300, 0}, {-1, 0}}, {{-127, 127}, {0, 0}},
        {{-129, -400}, {1, 2}}, {{0, 600}, {0, -2}},
    };
    for (const auto& [drag, shift] : cases)
        EXPECT_EQ(DragShift(drag.first, drag.second), shift) << drag.first << ',' << drag.second;
}

TEST(MapBlock, ShiftedLettersWrapAsThePadDoes) {
    struct Case {
        QString letters;
        BlockCell cell;
        QString expected;
    };
    const Case cases[] = {
        {"q", {1, 0}, "r"},    {"q", {2, 0}, "q"},    {"q", {3, 1}, "s"},     {"qs", {1, 1}, "sq"},
        {"qs", {-1, 0}, "qt"}, {"qq", {0, -1}, "tt"}, {"rqt", {0, 0}, "rqt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftedLetters(c.letters, c.cell), c.expected) << c.letters.toStdString();
}

} // namespace

namespace {

TEST(MapBlock, RegionIsTheGroundShown) {
    const GeoBounds world = BlockRegion("q", {5, 3})->Bounds();
    EXPECT_DOUBLE_EQ(world.west, -180);
    EXPECT_DOUBLE_EQ(world.east, 180);
    EXPECT_NEAR(world.north, 85.0511, 1e-4);
    EXPECT_NEAR(world.south, -85.0511, 1e-4);

    const GeoBounds middle = BlockRegion("qs", {2, 2})->Bounds();
    EXPECT_NEAR(middle.west, -90, 1e-4); // a hair inside, clear of the tiles beside
    EXPECT_GT(middle.west, -90);
    EXPECT_NEAR(middle.east, 90, 1e-4);
    EXPECT_NEAR(middle.north, 66.5133, 1e-4);

    // Three columns from the easternmost but one: across the 180th meridian, in two boxes.
    const std::optional<GeoRegion> across = BlockRegion("rsr", {3, 2});
    ASSERT_TRUE(across);
    EXPECT_EQ(across->Polygons().size(), 2u);
    EXPECT_FALSE(BlockRegion(QString(40, u'q'), {3, 2}).has_value()); // deeper than a key
}

TEST(MapBlock, CellsBeyondThePolesAreOffTheWorldAndEastWestNever) {
    const struct {
        const char* anchor;
        BlockCell cell;
        bool on;
    } cases[] = {
        {"q", {0, 1}, true},
        {"q", {0, 2}, false},
        {"q", {0, -1}, false},
        {"t", {4, 0}, true},
        {"t", {-3, 1}, false},
        {"qss", {7, 4}, true},
        {"qss", {0, 5}, false},
        {"qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq", {0, 9}, true}, // deeper than a key
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellOnWorld(c.anchor, c.cell), c.on) << c.anchor << " " << c.cell.row;
}

} // namespace

// A wide window at a low level shows the world several times over: the point read out is the
// same place on the first copy, within 180 degrees.
TEST(MapBlock, PointsPastTheEastEdgeFallOnTheWorld) {
    const struct {
        TileKey anchor;
        int x, onWorld;
    } cases[] = {
        {{1, 0, 0}, 100, 100},  {{1, 0, 0}, 600, 88},   // one world of 512 px east
        {{1, 0, 0}, 1150, 126},                         // two worlds east
        {{1, 1, 0}, 200, 200},  {{1, 1, 0}, 300, -212}, // from the eastern tile's corner
        {{3, 7, 2}, 2100, 52},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointOnWorld({c.x, 40}, c.anchor), QPoint(c.onWorld, 40)) << c.x;
    EXPECT_EQ(PointOnWorld({5000, 40}, std::nullopt), QPoint(5000, 40));
}
