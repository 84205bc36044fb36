// Where a block of tiles lies in metres and degrees, and how cells wrap into it.
#include "tiles/tile_block.h"

#include <gtest/gtest.h>

namespace {

struct TransformCase {
    TileBlock block;
    double west, north, pixel; // metres
};

TEST(TileBlock, GeoTransformPutsTheBlockOnTheWebMercatorPlane) {
    constexpr double h = kWebMercatorHalfSide;
    const TransformCase cases[] = {
        {{1, 0, 0, 2, 2}, -h, h, h / 256},
        {{1, 1, 1, 1, 1}, 0, 0, h / 256},
        {{10, 600, 300, 3, 2}, -h + 600 * h / 512, h - 300 * h / 512, h / 512 / 256},
    };
    for (const TransformCase& c : cases) {
        const std::array<double, 6> t = BlockGeoTransform(c.block);
        EXPECT_NEAR(t[0], c.west, 1e-6) << c.block.level;
        EXPECT_NEAR(t[3], c.north, 1e-6) << c.block.level;
        EXPECT_DOUBLE_EQ(t[1], c.pixel);
        EXPECT_DOUBLE_EQ(t[5], -c.pixel);
    }
}

TEST(TileBlock, RowAtLatitudeInvertsTheRowEdges) {
    for (const double row : {0.5, 37.25, 300.0, 511.75})
        EXPECT_NEAR(RowAtLatitude(9, RowEdgeLatitude(9, row)), row, 1e-9);
    EXPECT_NEAR(RowEdgeLatitude(1, 0), 85.0511287798, 1e-9);
    EXPECT_NEAR(ColumnEdgeLongitude(10, 600), 30.9375, 1e-12);
}

TEST(TileBlock, CellsWrapAroundTheWorld) {
    const TileBlock block{2, 3, 3, 2, 2}; // the south-east corner tile and the ones past it
    EXPECT_EQ(CellInBlock(block, 1, 1), (TileKey{2, 0, 0}));
    // Keys as level, column, row.
    const std::pair<TileKey, std::optional<std::pair<int, int>>> cases[] = {
        {{2, 3, 3}, std::pair{0, 0}}, {{2, 0, 0}, std::pair{1, 1}}, {{2, 0, 3}, std::pair{1, 0}},
        {{2, 0, 1}, std::nullopt},    {{3, 3, 3}, std::nullopt}, // the right place at another level
    };
    for (const auto& [key, expected] : cases) {
        const std::optional<BlockOffset> offset = OffsetInBlock(block, key);
        ASSERT_EQ(offset.has_value(), expected.has_value())
            << key.level << ':' << key.row << ',' << key.column;
        if (offset) {
            EXPECT_EQ(offset->column, expected->first);
            EXPECT_EQ(offset->row, expected->second);
        }
    }
}

} // namespace
