// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles of one level that a region meets, row by row from the north: for each row the
// runs of columns whose closed square meets the closed region (a square that only touches it
// at an edge or a corner counts). Rows lie within the Mercator grid (about ±85.0511°) and
// columns within the level's. A sweep over the region's boundary chains: each point of the
// boundary is visited once a level, each chain once a row it meets; memory grows with the
// region's edges, never with its tiles.
//
//     RegionRows rows(region, level);
//     while (rows.Next())
//         for (const ColumnRun& run : rows.Runs()) ... rows.Row(), run.first .. run.last
#include "tiles/geo_region.h"

#include <cstdint>
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
    // A chain the sweep has taken up: its first point not north of the row being scanned,
    // and where it crosses that row's north edge (worked out once, as the south edge of the
    // row before).
    struct ActiveChain {
        RegionChain chain;
        std::size_t cursor;
        double northLongitude;
    };

    void ScanRow();
    // The latitude of the north edge of row, as RowEdgeLatitude gives it wherever a point of
    // the boundary could tell the difference. Asked for from the north southwards.
    double EdgeLatitude(std::int64_t row);
    // Gives take the longitude of every point of a chain from cursor on, before end, that lies
    // north of south, reading whole blocks at once where it can; returns the first point not
    // north of it.
    template <typename Take>
    std::size_t TakeNorthOf(double south, std::size_t cursor, std::size_t end,
                            const Take& take) const;
    // Adds the columns that [west, east] meets to runs_; asked for from the west, by the west
    // end.
    void AddRun(double west, double east);

    GeoRegion region_;
    int level_ = 0;
    std::int64_t columns_ = 1;
    double columnDegrees_ = 360;
    std::int64_t row_ = -1;        // the row Runs() describe
    std::int64_t lastRow_ = -1;    // the southernmost row the region's box reaches
    double rowNorth_ = 0;          // latitude of the north edge of the next row to scan
    std::size_t nextChain_ = 0;    // the first chain of the region not yet active
    std::size_t nearLatitude_ = 0; // the first of the region's latitudes not north of an edge
    std::vector<ActiveChain> active_;
    std::vector<double> crossings_;
    std::vector<LongitudeRange> stretches_; // the longitudes the region takes in the row
    std::vector<ColumnRun> runs_;
};

// How many tiles of the level the region meets, without listing them.
std::int64_t CountRegionTiles(const GeoRegion& region, int level);
