#include "batch/region_walk.h"

#include "batch/progress_text.h"

WalkStop RegionWalk::Walk(const TileBlock& square, const BlockLoaded& loaded) {
    const std::int64_t blocksPerSide = square.columns / 2;
    TileKey columnStart = CellInBlock(square, 0, 0);
    for (std::int64_t column = 0; column < blocksPerSide; ++column) {
        TileKey block = columnStart;
        if (!LoadBlock(block, loaded))
            return WalkStop::Refused;
        for (std::int64_t row = 1; row < blocksPerSide; ++row) {
            front_.SetStatus(FetchedStatusText(done_, total_));
            front_.PumpEvents();
            if (front_.CancelRequested())
                return WalkStop::Cancel;
            block = block.South().South();
            if (!LoadBlock(block, loaded))
                return WalkStop::Refused;
            if (ErrorLimitReached(retry_, counters_))
                return WalkStop::ErrorLimit;
        }
        columnStart = columnStart.East().East();
    }
    return WalkStop::None;
}

bool RegionWalk::LoadBlock(const TileKey& northWest, const BlockLoaded& loaded) {
    const std::array<TileKey, 4> block = northWest.Block();
    ViewUrls urls;
    for (std::size_t slot = 0; slot < block.size(); ++slot)
        urls[slot] = source_.RequestOf(block[slot]);
    lastOutcome_ = front_.ShowView(urls);
    done_ += 4;
    front_.SetProgressPosition(done_);
    return !loaded || loaded(block);
}
