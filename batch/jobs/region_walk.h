// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The walk over a view's region at a deeper level, as the jobs that fill a region make it:
// 2 by 2 blocks, column by column from west to east and each column from north to south.
#include "batch/jobs/job_run.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

enum class WalkEnd { Finished, Cancelled, ErrorLimit };

// The north-west tile of the block at column and row (from 0) of the walk below anchor: the
// world wraps at its edges, as the tiles east and south of a tile do.
TileKey RegionBlock(const TileKey& anchor, int levelsDown, std::int64_t column, std::int64_t row);

// The blocks of the region of the 2 by 2 view whose top-left tile is anchor, levelsDown levels
// deeper, one at a time in the walk's order. Made once and copied: the read-ahead and the
// loop each go along a copy of their own.
class RegionBlockWalk {
public:
    struct Block {
        TileKey northWest;
        bool startsColumn = false; // the first block of its column
    };

    RegionBlockWalk(const TileKey& anchor, int levelsDown)
        : anchor_(anchor), levelsDown_(levelsDown), blocksPerSide_(std::int64_t{1} << levelsDown) {}
    // Nothing past the last block.
    std::optional<Block> Next();

private:
    TileKey anchor_;
    int levelsDown_;
    std::int64_t blocksPerSide_;
    std::int64_t next_ = 0; // the block's number along the walk
};

// The tiles of the walk's blocks in its order, each block's four in block order, as requests of
// source: what a client reads ahead while the walk goes on.
UpcomingTiles RegionTiles(std::shared_ptr<const TileSource> source, RegionBlockWalk blocks);

// Visits the walk's blocks through loadBlock (given each block's north-west tile); each
// block adds four to the run's progress. Before every block but the first of a column the
// status line shows the count, events are pumped and a cancel ends the walk; after each such
// block a reached error limit ends it. A cancel that cut the very last block short ends it
// as Cancelled too.
WalkEnd WalkRegion(RegionBlockWalk blocks, JobRun& run, const BatchRetry& retry,
                   const TileCounters& counters,
                   const std::function<ViewLoadOutcome(const TileKey& northWest)>& loadBlock);

// Ends the run of a walk that stopped early: a cancel as Cancelled, a reached error limit as
// ErrorLimit with the counters' message. Nothing for a walk that finished, whose job goes on.
std::optional<JobEnding> EndStoppedWalk(WalkEnd walked, JobRun& run, const TileCounters& counters);
