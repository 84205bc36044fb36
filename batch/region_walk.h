#pragma once
// Walking a square of tiles as a prefill does: in 2 by 2 blocks, column by column from west
// to east and each column from north to south, every block loaded as the view with the batch
// retries, the progress moved on, "Отмена" and the error limits checked between the blocks
// of a column. An export walks each level of its region this way and takes every block's
// tiles from the cache as they come in.
#include "batch/job_front_end.h"
#include "fetch/tile_source.h"
#include "tiles/tile_block.h"

#include <array>
#include <cstdint>
#include <functional>

enum class WalkStop { None, Cancel, ErrorLimit, Refused };

class RegionWalk {
public:
    // Called after each block is loaded, with its four tiles in block order; false stops
    // the walk (the tiles could not be used).
    using BlockLoaded = std::function<bool(const std::array<TileKey, 4>& block)>;

    RegionWalk(JobFrontEnd& front, const TileSource& source, const BatchRetry& retry,
               TileCounters& counters, std::int64_t total)
        : front_(front), source_(source), retry_(retry), counters_(counters), total_(total) {}

    // Walks the square (its sides even, as every region's are).
    WalkStop Walk(const TileBlock& square, const BlockLoaded& loaded = {});

    // A cancel in the very last block cut it short without a check after it; the tiles it
    // left out must not pass for a finished job.
    bool LastBlockCancelled() {
        return lastOutcome_ == ViewLoadOutcome::Aborted && front_.CancelRequested();
    }

private:
    bool LoadBlock(const TileKey& northWest, const BlockLoaded& loaded);

    JobFrontEnd& front_;
    const TileSource& source_;
    const BatchRetry& retry_;
    TileCounters& counters_;
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    ViewLoadOutcome lastOutcome_ = ViewLoadOutcome::Completed;
};
