// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles a region meets over a range of levels, one at a time in the order the jobs fetch
// them: level by level from the coarsest, rows from the north, west to east inside a row.
// Memory follows the region's outline, never its number of tiles: one level holds one row's
// runs at a time; several hold every row's runs of the levels (see region_spans.h).
#include "tiles/region_spans.h"
#include "tiles/tile_key.h"

#include <memory>
#include <optional>

// A run of tiles side by side in one row, both ends included.
struct TileRun {
    int level = 0;
    std::uint32_t row = 0;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

class RegionTileWalk {
    // Where the walk is among the rows' runs: kept apart from the column being walked.
    struct RunCursor {
        GeoRegion region;
        int lastLevel;
        // Every level's rows from one sweep; none when the levels are swept one by one, as
        // rows.
        std::shared_ptr<const std::vector<LevelSpans>> levels;
        RegionRows rows;
        std::size_t level = 0; // of levels
        std::size_t row = 0;   // of the level's rows
        // Of the level's runs, the next to give; without levels, of rows.Runs(), the one
        // given last (past them before the first row).
        std::size_t run = 0;
    };

public:
    // Levels from firstLevel to lastLevel, both included; none when firstLevel > lastLevel.
    // Over several levels the boundary is swept once, at the finest, unless that level has
    // more than mostHeldRuns runs.
    RegionTileWalk(GeoRegion region, int firstLevel, int lastLevel,
                   std::size_t mostHeldRuns = kMostHeldRuns) {
        // Made apart and moved in, so that no call outside sees this object: the compiler
        // then keeps the column being walked in a register, and a tile costs what a plain
        // loop's does.
        std::unique_ptr<RunCursor> runs =
            MakeRunCursor(std::move(region), firstLevel, lastLevel, mostHeldRuns);
        runs_ = std::move(runs);
    }
    RegionTileWalk(const RegionTileWalk& other);
    RegionTileWalk& operator=(const RegionTileWalk& other);
    RegionTileWalk(RegionTileWalk&&) noexcept = default;
    RegionTileWalk& operator=(RegionTileWalk&&) noexcept = default;
    ~RegionTileWalk() = default;

    std::optional<TileKey> Next() {
        if (column_ > runLast_ && !Advance())
            return std::nullopt;
        return TileKey{level_, static_cast<std::uint32_t>(column_++), row_};
    }
    // The tiles of the run under way not yet given, else the next run: for a caller that
    // goes through many tiles and does little with each, whose own loop over the columns
    // then costs no more than counting.
    std::optional<TileRun> NextRun() {
        if (column_ > runLast_ && !Advance())
            return std::nullopt;
        const TileRun run{level_, row_, static_cast<std::uint32_t>(column_),
                          static_cast<std::uint32_t>(runLast_)};
        column_ = runLast_ + 1;
        return run;
    }

private:
    static std::unique_ptr<RunCursor> MakeRunCursor(GeoRegion region, int firstLevel, int lastLevel,
                                                    std::size_t mostHeldRuns);
    // The next run of the row, else of the next row that has one; nothing at the end.
    static std::optional<TileRun> NextRowRun(RunCursor& runs);
    bool Advance() {
        const std::optional<TileRun> run = NextRowRun(*runs_);
        if (!run)
            return false;
        level_ = run->level;
        row_ = run->row;
        column_ = run->first;
        runLast_ = run->last;
        return true;
    }

    std::unique_ptr<RunCursor> runs_;
    int level_ = 0;
    std::uint32_t row_ = 0;
    std::uint64_t column_ = 1; // the next column of the run; past runLast_ when it is done
    std::uint64_t runLast_ = 0;
};

// How many tiles the region meets over the levels, both included.
std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel);

// A region and the levels a job takes of it, both included.
struct RegionLevels {
    GeoRegion region;
    int firstLevel = 1;
    int lastLevel = 1;

    RegionTileWalk Walk() const { return RegionTileWalk(region, firstLevel, lastLevel); }
    std::int64_t Count() const { return CountRegionTiles(region, firstLevel, lastLevel); }
};

// The tile at index (from 0) in the walk of one level, or nothing past its end: found row by
// row, so that a sample can be drawn without listing the tiles.
std::optional<TileKey> NthRegionTile(const GeoRegion& region, int level, std::int64_t index);
