// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_walk.h"

#include "batch/jobs/error_count_texts.h"
#include "batch/jobs/progress_text.h"

TileKey RegionBlock(const TileKey& anchor, int levelsDown, std::int64_t column, std::int64_t row) {
    const int level = anchor.level + levelsDown;
    const std::uint64_t side = std::uint64_t{1} << level;
    const auto at = [&](std::uint32_t start, std::int64_t blocks) {
        return static_cast<std::uint32_t>(
            ((std::uint64_t{start} << levelsDown) + 2 * static_cast<std::uint64_t>(blocks)) % side);
    };
    return TileKey{level, at(anchor.column, column), at(anchor.row, row)};
}

UpcomingTiles RegionTiles(std::shared_ptr<const TileSource> source, const TileKey& anchor,
                          int levelsDown) {
    const std::int64_t blocksPerSide = std::int64_t{1} << levelsDown;
    std::int64_t next = 0; // the tile's number along the walk
    return [=]() mutable -> std::optional<TileRequest> {
        const std::int64_t block = next / 4;
        if (block >= blocksPerSide * blocksPerSide)
            return std::nullopt;
        const TileKey northWest =
            RegionBlock(anchor, levelsDown, block / blocksPerSide, block % blocksPerSide);
        return source->RequestForKey(northWest.Block()[static_cast<std::size_t>(next++ % 4)]);
    };
}

WalkEnd WalkRegion(const TileKey& anchor, int levelsDown, JobRun& run, const BatchRetry& retry,
                   const TileCounters& counters,
                   const std::function<ViewLoadOutcome(const TileKey& northWest)>& loadBlock) {
    ViewLoadOutcome last = ViewLoadOutcome::Completed;
    const auto visit = [&](const TileKey& northWest) {
        last = loadBlock(northWest);
        run.Progress(run.Done() + 4);
    };
    const std::int64_t blocksPerSide = std::int64_t{1} << levelsDown;
    for (std::int64_t column = 0; column < blocksPerSide; ++column) {
        visit(RegionBlock(anchor, levelsDown, column, 0));
        for (std::int64_t row = 1; row < blocksPerSide; ++row) {
            run.Progress(run.Done(), FetchedStatusText(run.Done(), run.Total()));
            run.Pump();
            if (run.Cancelled())
                return WalkEnd::Cancelled;
            visit(RegionBlock(anchor, levelsDown, column, row));
            if (ErrorLimitReached(retry, counters))
                return WalkEnd::ErrorLimit;
        }
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
