// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_tile_walk.h"

std::unique_ptr<RegionTileWalk::RunCursor>
RegionTileWalk::MakeRunCursor(GeoRegion region, int firstLevel, int lastLevel) {
    RegionRows rows(region, firstLevel);
    return std::make_unique<RunCursor>(RunCursor{std::move(region), lastLevel, std::move(rows), 0});
}

RegionTileWalk::RegionTileWalk(const RegionTileWalk& other)
    : runs_(std::make_unique<RunCursor>(*other.runs_)), level_(other.level_), row_(other.row_),
      column_(other.column_), runLast_(other.runLast_) {}

RegionTileWalk& RegionTileWalk::operator=(const RegionTileWalk& other) {
    if (this != &other)
        *this = RegionTileWalk(other);
    return *this;
}

std::optional<RegionTileWalk::RowRun> RegionTileWalk::NextRun(RunCursor& runs) {
    RegionRows& rows = runs.rows;
    if (++runs.run >= rows.Runs().size()) {
        if (rows.Level() > runs.lastLevel)
            return std::nullopt;
        while (!rows.Next()) {
            if (rows.Level() >= runs.lastLevel)
                return std::nullopt;
            rows = RegionRows(runs.region, rows.Level() + 1);
        }
        runs.run = 0;
    }
    const ColumnRun& run = rows.Runs()[runs.run];
    return RowRun{rows.Level(), rows.Row(), run.first, run.last};
}

std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel) {
    std::int64_t count = 0;
    for (int level = firstLevel; level <= lastLevel; ++level)
        count += CountRegionTiles(region, level);
    return count;
}

std::optional<TileKey> NthRegionTile(const GeoRegion& region, int level, std::int64_t index) {
    RegionRows rows(region, level);
    while (index >= 0 && rows.Next())
        for (const ColumnRun& run : rows.Runs()) {
            const std::int64_t length = std::int64_t{run.last} - run.first + 1;
            if (index < length)
                return TileKey{level, static_cast<std::uint32_t>(run.first + index), rows.Row()};
            index -= length;
        }
    return std::nullopt;
}
