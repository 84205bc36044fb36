// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/coordinates.h"
#include "tiles/tile_ref.h"
#include "tiles/tile_search.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

ViewUrls View(const char* a, const char* b, const char* c, const char* d) {
    return {a, b, c, d};
}

} // namespace

TEST(TileSearch, PointsGiveTheirTileAndMark) {
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    struct Case {
        double latitude, longitude;
        int latIndex, lonIndex;
        TileKey key;
        int markX, markY;
    };
    const Case cases[] = {
        {0, 0, 0, 1, {1, 1, 0}, 0, 256},
        {45, 90, 0, 1, {2, 3, 1}, 0, 112},
        {55 + 45.0 / 60, 37 + 37.0 / 60, 0, 1, {10, 618, 320}, 255, 34},
        // Beyond the Mercator limit: the edge row, the mark above the tile.
        {88, 10, 0, 1, {3, 4, 0}, 56, -295},
        // At and beyond the poles: the hemisphere's pole edge, or its equator edge for -90.
        {90, 10, 0, 1, {3, 4, 0}, 56, 0},
        {95, 10, 1, 1, {3, 4, 7}, 56, 256},
        {-90, 10, 0, 1, {3, 4, 3}, 56, 256},
        {45, 2e9, 0, 1, {20, 1048575, 377199}, kMaxInt, 10},
    };
    for (const Case& c : cases) {
        const TileSearch found =
            LatLonToTile(c.latitude, c.longitude, c.latIndex, c.lonIndex, c.key.level);
        EXPECT_EQ(KeyOfQuadPath(found.path), c.key) << c.latitude;
        EXPECT_EQ(found.markX, c.markX) << c.latitude;
        EXPECT_EQ(found.markY, c.markY) << c.latitude;
    }
    // No hemisphere selected: no first letter. NaN must not reach an int.
    EXPECT_EQ(LatLonToTile(55.75, 37.6, -1, 1, 10).path.size(), 9);
    EXPECT_EQ(LatLonToTile(45, std::nan(""), 0, 0, 4).markX, 0);
}

TEST(TileSearch, ViewPutsThePointInTheCentralSquare) {
    const SearchView origin = SearchViewFor(LatLonToTile(0, 0, 0, 1, 1));
    EXPECT_EQ(origin.view, View("q", "r", "s", "t"));
    EXPECT_EQ(origin.markedTile, "r");
    const SearchView east = SearchViewFor(LatLonToTile(45, 90, 0, 1, 2));
    EXPECT_EQ(east.view, View("rq", "rr", "rs", "rt"));
    EXPECT_EQ(east.view[2], east.markedTile);
    const SearchView moscow = SearchViewFor(LatLonToTile(55.75, 37.6, 0, 1, 10));
    EXPECT_EQ(moscow.view[3], moscow.markedTile);
    const SearchView low = SearchViewFor({QStringLiteral("qq"), 200, 200});
    EXPECT_EQ(low.view[0], low.markedTile);
}

TEST(TileSearch, CentreOfRandomTileFindsThatTile) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 400; ++trial) {
        const int level = 1 + static_cast<int>(random() % 20);
        const std::uint32_t size = 1u << level;
        const TileKey key{level, static_cast<std::uint32_t>(random() % size),
                          static_cast<std::uint32_t>(random() % size)};
        const double latitude = NorthingToLatitude(size - key.row - 0.5, level);
        const double westLongitude = WestingToLongitude(size - key.column - 0.5, level);
        const TileSearch found =
            LatLonToTile(std::abs(latitude), std::abs(westLongitude), latitude >= 0 ? 0 : 1,
                         westLongitude >= 0 ? 0 : 1, level);
        ASSERT_EQ(found.path, QuadPathOf(key)) << level;
        EXPECT_NEAR(found.markX, 128, 1);
        EXPECT_NEAR(found.markY, 128, 1);
    }
}
