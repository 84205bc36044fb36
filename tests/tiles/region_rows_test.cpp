// SPDX-License-Identifier: GPL-3.0-or-later
// The tiles a region meets, checked against GDAL's own geometry tile by tile.
#include "tiles/region_tile_walk.h"

#include "tests/support/ogr_tiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace {

GeoRegion Star(GeoPoint centre, double radius, int points) {
    GeoRing ring;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = M_PI * i / points;
        const double r = i % 2 ? radius : radius * 0.35;
        ring.push_back(
            {centre.longitude + r * std::cos(angle), centre.latitude + r * std::sin(angle)});
    }
    return GeoRegion({{ring, {}}});
}

struct RegionCase {
    const char* name;
    GeoRegion region;
    int firstLevel;
    int lastLevel;
};

// Edges and corners of tiles at level 6: columns every 5.625 degrees of longitude.
const double kRow20 = RowEdgeLatitude(6, 20);
const double kRow23 = RowEdgeLatitude(6, 23);

// A ring that turns north and south on row edges, runs along them and repeats points: where
// the boundary is cut into pieces that each meet a parallel once.
GeoRegion Zigzag() {
    const double l = 5.625;
    const double r21 = RowEdgeLatitude(6, 21);
    const double r22 = RowEdgeLatitude(6, 22);
    return GeoRegion({{{{l, kRow23},
                        {2 * l + 1, kRow23},
                        {2 * l + 1, kRow23},
                        {3 * l, r22},
                        {3 * l + 2, r22},
                        {3 * l + 3, kRow23 + 0.2},
                        {4 * l, r21},
                        {4 * l + 1, kRow20},
                        {3 * l + 0.5, r21 - 0.3},
                        {2 * l, kRow20},
                        {2 * l - 1, kRow20},
                        {l + 0.5, r22},
                        {l, kRow23}},
                       {}}});
}

// A ring with a long saw-toothed east side: stretches of hundreds of points inside one row,
// whose east end is at every other point.
GeoRegion SawTooth() {
    GeoRing ring{{-3.3, 40.1}};
    for (int i = 0; i <= 1000; ++i)
        ring.push_back({10.2 + (i % 2 ? 1.9 : 0), 40.1 + i * 0.0137});
    ring.push_back({-3.3, 53.8});
    return GeoRegion({{ring, {}}});
}

// A triangle whose southern point lies on a row edge, or a hair (far below a millimetre) off
// it; the edge of row 24 is one whose latitude takes care to get to the last bit.
GeoRegion PointNearRowEdge(double offset) {
    const double edge = RowEdgeLatitude(6, 24);
    return GeoRegion({{{{7.3, edge + offset}, {9.9, edge + 3}, {6.1, edge + 2.5}}, {}}});
}

// The rest of a walk, run by run.
std::vector<TileKey> AllTiles(RegionTileWalk walk) {
    std::vector<TileKey> tiles;
    while (const std::optional<TileRun> run = walk.NextRun())
        for (std::uint64_t column = run->first; column <= run->last; ++column)
            tiles.push_back({run->level, static_cast<std::uint32_t>(column), run->row});
    return tiles;
}

TEST(RegionTiles, MatchGdalIntersectionTileByTile) {
    GeoRegion holed(
        {{{{10, 40}, {30, 40}, {30, 55}, {10, 55}}, {{{14, 44}, {26, 44}, {26, 51}, {14, 51}}}}});
    const RegionCase cases[] = {
        {"box on tile edges", *GeoRegion::Box(11.25, kRow23, 22.5, kRow20), 5, 7},
        {"box across 180", *GeoRegion::Box(170.3, -20.1, -172.4, -5.2), 3, 6},
        {"polygon with a hole", holed, 4, 7},
        {"star", Star({37.6, 55.7}, 3.1, 9), 4, 7},
        {"triangle on a tile corner",
         GeoRegion({{{{5.625, kRow20}, {9.1, kRow20 + 4}, {4.3, kRow20 + 3}}, {}}}), 6, 6},
        {"sliver", GeoRegion({{{{-3.01, 47.2}, {2.4, 50.3}, {2.41, 50.31}, {-3.0, 47.19}}, {}}}), 5,
         9},
        {"past the pole clamp", *GeoRegion::Box(-40.2, 80.1, -10.3, 89.5), 3, 6},
        {"beyond the clamp", *GeoRegion::Box(-40.2, 85.06, -10.3, 89.5), 3, 5},
        {"zigzag turning on row edges", Zigzag(), 5, 8},
        {"saw-toothed side of 1,000 points", SawTooth(), 2, 8},
        {"point on a row edge", PointNearRowEdge(0), 6, 6},
        {"point a hair north of a row edge", PointNearRowEdge(1e-11), 6, 6},
    };
    for (const RegionCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegionTileWalk walk(c.region, c.firstLevel, c.lastLevel);
        std::optional<TileKey> previous;
        std::set<TileKey> walked;
        std::vector<TileKey> inOrder;
        while (const std::optional<TileKey> tile = walk.Next()) {
            inOrder.push_back(*tile);
            if (previous) { // levels, rows from the north, columns from the west, each once
                EXPECT_LT(std::tuple(previous->level, previous->row, previous->column),
                          std::tuple(tile->level, tile->row, tile->column));
            }
            walked.insert(*tile);
            previous = tile;
        }
        std::set<TileKey> expected;
        for (int level = c.firstLevel; level <= c.lastLevel; ++level)
            expected.merge(IntersectingTiles(c.region.Polygons(), level));
        for (const TileKey& t : walked)
            EXPECT_TRUE(expected.count(t))
                << "extra " << t.level << '/' << t.column << '/' << t.row;
        for (const TileKey& t : expected)
            EXPECT_TRUE(walked.count(t))
                << "missing " << t.level << '/' << t.column << '/' << t.row;
        EXPECT_EQ(CountRegionTiles(c.region, c.firstLevel, c.lastLevel),
                  static_cast<std::int64_t>(expected.size()));
        // Each level swept on its own, as a region of too many runs to hold is, walks the
        // same tiles as the coarser levels made from the finest.
        EXPECT_EQ(AllTiles(RegionTileWalk(c.region, c.firstLevel, c.lastLevel, 0)), inOrder);
    }
}

TEST(RegionTiles, BoxesOutsideTheGlobeAreRefused) {
    EXPECT_FALSE(GeoRegion::Box(10, 50, 20, 50)); // south not below north
    EXPECT_FALSE(GeoRegion::Box(10, 50, 20, 40));
    EXPECT_FALSE(GeoRegion::Box(-181, 0, 20, 10));
    EXPECT_FALSE(GeoRegion::Box(0, -91, 20, 10));
    EXPECT_FALSE(GeoRegion::Box(0, 0, NAN, 10));
    EXPECT_EQ(GeoRegion::Box(170, 0, -170, 10)->Polygons().size(), 2u);
    EXPECT_TRUE(GeoRegion({{{{3, 4}, {3, 4}, {3, 4}}, {}}}).IsEmpty()); // no edge at all
}

// A copy taken halfway (as a job's read-ahead takes one) goes on by itself, tile by tile or
// run by run from the tile it stood at.
TEST(RegionTiles, ACopiedWalkGoesOnByItself) {
    RegionTileWalk walk(Star({37.6, 55.7}, 3.1, 9), 7, 9);
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(walk.Next());
    RegionTileWalk copy = walk;
    std::vector<TileKey> fromWalk;
    while (const std::optional<TileKey> key = walk.Next())
        fromWalk.push_back(*key);
    EXPECT_FALSE(fromWalk.empty());
    EXPECT_EQ(AllTiles(copy), fromWalk);
}

// A country at the deepest level a job takes: counted without listing, and the walk agrees.
TEST(RegionTiles, DeepLevelsAreCountedRowByRow) {
    const GeoRegion region = Star({10, 50}, 4, 40);
    const std::int64_t count = CountRegionTiles(region, 17);
    EXPECT_GT(count, 3'000'000);
    RegionRows rows(region, 17);
    std::int64_t walked = 0;
    while (rows.Next())
        for (const ColumnRun& run : rows.Runs())
            walked += std::int64_t{run.last} - run.first + 1;
    EXPECT_EQ(walked, count);
}

// Deep levels made from the finest hold the tiles each level's own sweep finds; a region of
// more runs than may be held is swept level by level, and counted the same.
TEST(RegionTiles, LevelsMadeFromTheFinestCountAsTheirOwnSweeps) {
    const GeoRegion region = Star({10, 50}, 0.4, 40);
    const auto levels = SweepRegionLevels(region, 10, 16);
    ASSERT_TRUE(levels);
    ASSERT_EQ(levels->size(), 7u);
    std::int64_t total = 0;
    for (const LevelSpans& level : *levels) {
        SCOPED_TRACE(level.level);
        EXPECT_EQ(level.tiles, CountRegionTiles(region, level.level));
        total += level.tiles;
    }
    EXPECT_EQ(CountRegionTiles(region, 10, 16), total);
    EXPECT_FALSE(SweepRegionLevels(region, 10, 16, levels->back().runs.size() - 1));
}

} // namespace
