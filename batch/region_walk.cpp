#include "batch/region_walk.h"

#include "batch/progress_text.h"

WalkEnd WalkRegion(const TileKey& anchor, int levelsDown, JobRun& run, const BatchRetry& retry,
                   const TileCounters& counters,
                   const std::function<ViewLoadOutcome(const TileKey& northWest)>& loadBlock) {
    ViewLoadOutcome last = ViewLoadOutcome::Completed;
    const auto visit = [&](const TileKey& northWest) {
        last = loadBlock(northWest);
        run.Progress(run.Done() + 4);
    };
    TileKey columnStart = anchor;
    for (int i = 0; i < levelsDown; ++i)
        columnStart = columnStart.Children()[0];
    const std::int64_t blocksPerSide = std::int64_t{1} << levelsDown;
    for (std::int64_t column = 0; column < blocksPerSide; ++column) {
        TileKey block = columnStart;
        visit(block);
        for (std::int64_t row = 1; row < blocksPerSide; ++row) {
            run.Progress(run.Done(), FetchedStatusText(run.Done(), run.Total()));
            run.Pump();
            if (run.Cancelled())
                return WalkEnd::Cancelled;
            block = block.South().South();
            visit(block);
            if (ErrorLimitReached(retry, counters))
                return WalkEnd::ErrorLimit;
        }
        columnStart = columnStart.East().East();
    }
    // The last block has no check after it; the tiles a cancel left out of it must not pass
    // for a finished walk.
    if (last == ViewLoadOutcome::Aborted && run.Cancelled())
        return WalkEnd::Cancelled;
    return WalkEnd::Finished;
}
