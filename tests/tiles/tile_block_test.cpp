// SPDX-License-Identifier: GPL-3.0-or-later
// How cells wrap into a block of tiles.
#include "tiles/tile_block.h"

#include <gtest/gtest.h>

namespace {

// Where a block lies in metres and degrees is checked through GDAL and the KMZ overlays.
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
