// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_walk.h"

#include "batch/jobs/error_count_texts.h"
#include "batch/jobs/progress_text.h"

#include <array>

TileKey RegionBlock(const TileKey& anchor, int levelsDown, std::int64_t column, std::int64_t row) {
    const int level = anchor.level + levelsDown;
    const std::uint64_t side = std::uint64_t{1} << level;
    const auto at = [&](std::uint32_t start, std::int64_t blocks) {
        return static_cast<std::uint32_t>(
            ((std::uint64_t{start} << levelsDown) + 2 * static_cast<std::uint64_t>(blocks)) % side);
    };
    return TileKey{level, at(anchor.column, column), at(anchor.row, row)};
}

std::optional<RegionBlockWalk::Block> RegionBlockWalk::Next() {
    if (next_ >= blocksPerSide_ * blocksPerSide_)
        return std::nullopt;
    const std::int64_t column = next_ / blocksPerSide_;
    const std::int64_t row = next_++ % blocksPerSide_;
    return Block{RegionBlock(anchor_, levelsDown_, column, row), row == 0};
}

UpcomingTiles RegionTiles(std::shared_ptr<const TileSource> source, RegionBlockWalk blocks) {
    std::array<TileKey, 4> block{};
    std::size_t next = block.size(); // the tile's place in its block
    return [=]() mutable -> std::optional<TileRequest> {
        if (next == block.size()) {
            const std::optional<RegionBlockWalk::Block> following = blocks.Next();
            if (!following)
                return std::nullopt;
            block = following->northWest.Block();
            next = 0;
        }
        return source->Request(block[next++]);
    };
}

WalkEnd WalkRegion(RegionBlockWalk blocks, JobRun& run, const BatchRetry& retry,
                   const TileCounters& counters,
                   const std::function<ViewLoadOutcome(const TileKey& northWest)>& loadBlock) {
    ViewLoadOutcome last = ViewLoadOutcome::Completed;
    while (const std::optional<RegionBlockWalk::Block> block = blocks.Next()) {
        if (!block->startsColumn) {
            run.Progress(run.Done(), FetchedStatusText(run.Done(), run.Total()));
            run.Pump();
            if (run.Cancelled())
                return WalkEnd::Cancelled;
        }
        last = loadBlock(block->northWest);
        run.Progress(run.Done() + 4);
        if (!block->startsColumn && ErrorLimitReached(retry, counters))
            return WalkEnd::ErrorLimit;
    }
    // The last block has no check after it; the tiles a cancel left out of it must not pass
    // for a finished walk.
    if (last == ViewLoadOutcome::Aborted && run.Cancelled())
        return WalkEnd::Cancelled;
    return WalkEnd::Finished;
}

std::optional<JobEnding> EndStoppedWalk(WalkEnd walked, JobRun& run, const TileCounters& counters) {
    switch (walked) {
    case WalkEnd::Cancelled:
        return run.End(JobEnding::Cancelled);
    case WalkEnd::ErrorLimit:
        return run.End(JobEnding::ErrorLimit, ErrorLimitMessage(counters));
    case WalkEnd::Finished:
        break;
    }
    return std::nullopt;
}
