#pragma once
// The tiles of one level that a region meets, row by row from the north: for each row the
// runs of columns whose closed square meets the closed region (a square that only touches it
// at an edge or a corner counts). Rows lie within the Mercator grid (about ±85.0511°) and
// columns within the level's. An active-edge sweep: memory grows with the region's edges,
// never with its tiles.
//
//     RegionRows rows(region, level);
//     while (rows.Next())
//         for (const ColumnRun& run : rows.Runs()) ... rows.Row(), run.first .. run.last
#include "tiles/geo_region.h"

#include <cstdint>
#include <utility>
#include <vector>

struct ColumnRun {
    std::uint32_t first = 0; // both included, west to east
    std::uint32_t last = 0;
};

class RegionRows {
public:
    RegionRows(GeoRegion region, int level);

    // Moves to the next row, southwards, that meets the region; false after the last.
    bool Next();
    int Level() const { return level_; }
    std::uint32_t Row() const { return static_cast<std::uint32_t>(row_); }
    // Disjoint and not adjacent, west to east.
    const std::vector<ColumnRun>& Runs() const { return runs_; }

private:
    void ScanRow();
    void AddSpan(double west, double east);

    GeoRegion region_;
    int level_ = 0;
    std::int64_t columns_ = 1;
    double columnDegrees_ = 360;
    std::int64_t row_ = -1;     // the row Runs() describe
    std::int64_t lastRow_ = -1; // the southernmost row the region's box reaches
    double rowNorth_ = 0;       // latitude of the north edge of the next row to scan
    std::size_t nextEdge_ = 0;  // the first edge of the region not yet active
    std::vector<std::size_t> active_;
    std::vector<double> crossings_;
    std::vector<std::pair<double, double>> spans_;
    std::vector<ColumnRun> runs_;
};

// How many tiles of the level the region meets, without listing them.
std::int64_t CountRegionTiles(const GeoRegion& region, int level);
