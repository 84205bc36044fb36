// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_tile_walk.h"

std::unique_ptr<RegionTileWalk::RunCursor> RegionTileWalk::MakeRunCursor(GeoRegion region,
                                                                         int firstLevel,
                                                                         int lastLevel,
                                                                         std::size_t mostHeldRuns) {
    // One level needs no rows held: they come one by one from the sweep.
    std::shared_ptr<const std::vector<LevelSpans>> levels;
    if (firstLevel < lastLevel)
        levels = SweepRegionLevels(region, firstLevel, lastLevel, mostHeldRuns);
    RegionRows rows(levels ? GeoRegion() : region, firstLevel);
    return std::make_unique<RunCursor>(
        RunCursor{std::move(region), lastLevel, std::move(levels), std::move(rows)});
}

RegionTileWalk::RegionTileWalk(const RegionTileWalk& other)
    : runs_(std::make_unique<RunCursor>(*other.runs_)), level_(other.level_), row_(other.row_),
      column_(other.column_), runLast_(other.runLast_) {}

RegionTileWalk& RegionTileWalk::operator=(const RegionTileWalk& other) {
    if (this != &other)
        *this = RegionTileWalk(other);
    return *this;
}

std::optional<TileRun> RegionTileWalk::NextRowRun(RunCursor& runs) {
    if (runs.levels) {
        const std::vector<LevelSpans>& levels = *runs.levels;
        for (; runs.level < levels.size(); ++runs.level, runs.row = 0, runs.run = 0) {
            const LevelSpans& level = levels[runs.level];
            if (runs.run < level.runs.size()) {
                while (level.rowEnds[runs.row] <= runs.run) // every row has a run
                    ++runs.row;
                const ColumnRun& run = level.runs[runs.run++];
                return TileRun{level.level, level.rows[runs.row], run.first, run.last};
            }
        }
        return std::nullopt;
    }
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
    return TileRun{rows.Level(), rows.Row(), run.first, run.last};
}

std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel) {
    if (firstLevel < lastLevel)
        if (const auto levels = SweepRegionLevels(region, firstLevel, lastLevel)) {
            std::int64_t count = 0;
            for (const LevelSpans& level : *levels)
                count += level.tiles;
            return count;
        }
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
