// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles a region meets over a range of levels, one at a time in the order the jobs fetch
// them: level by level from the coarsest, rows from the north, west to east inside a row.
// Holds one row's runs at a time, whatever the number of tiles.
#include "tiles/region_rows.h"
#include "tiles/tile_key.h"

#include <memory>
#include <optional>

class RegionTileWalk {
    // Where the walk is among the rows' runs: kept apart from the column being walked.
    struct RunCursor {
        GeoRegion region;
        int lastLevel;
        RegionRows rows;
        std::size_t run = 0; // of rows.Runs(); past them before the first row
    };

public:
    // Levels from firstLevel to lastLevel, both included; none when firstLevel > lastLevel.
    RegionTileWalk(GeoRegion region, int firstLevel, int lastLevel) {
        // Made apart and moved in, so that no call outside sees this object: the compiler
        // then keeps the column being walked in a register, and a tile costs what a plain
        // loop's does.
        std::unique_ptr<RunCursor> runs = MakeRunCursor(std::move(region), firstLevel, lastLevel);
        runs_ = std::move(runs);
    }
    RegionTileWalk(const RegionTileWalk& other);
    RegionTileWalk& operator=(const RegionTileWalk& other);
    RegionTileWalk(RegionTileWalk&&) noexcept = default;
    RegionTileWalk& operator=(RegionTileWalk&&) noexcept = default;
    ~RegionTileWalk() = default;

    std::optional<TileKey> Next() {
        if (column_ > runLast_) {
            const std::optional<RowRun> run = NextRun(*runs_);
            if (!run)
                return std::nullopt;
            level_ = run->level;
            row_ = run->row;
            column_ = run->first;
            runLast_ = run->last;
        }
        return TileKey{level_, static_cast<std::uint32_t>(column_++), row_};
    }

private:
    struct RowRun {
        int level;
        std::uint32_t row;
        std::uint64_t first;
        std::uint64_t last;
    };
    static std::unique_ptr<RunCursor> MakeRunCursor(GeoRegion region, int firstLevel,
                                                    int lastLevel);
    // The next run of the row, else of the next row that has one; nothing at the end.
    static std::optional<RowRun> NextRun(RunCursor& runs);

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
