// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/cache_ahead.h"

#include "loader/read_ahead.h"

CacheAhead::CacheAhead(std::vector<TileRequest> tiles, int atOnce, const ViewSource& source,
                       TileCounters& counters, LoaderHooks& hooks)
    : tiles_(std::move(tiles)), source_(source), context_{source_.mode,       source_.http,
                                                          counters,           hooks,
                                                          source_.buffers,    nullptr,
                                                          source_.layoutOnly, source_.refresh} {
    // A silent server keeps the window waiting no longer than it would for the block.
    source_.http.ShareSilentWait(true);
    if (atOnce > 1)
        StartReadAhead(source_.http, AlongList(tiles_), source_.mode, source_.refresh);
}

CacheAhead::~CacheAhead() {
    EndReadAhead(source_.http, source_.refresh);
    source_.http.ShareSilentWait(false);
}

bool CacheAhead::Step() {
    if (next_ >= tiles_.size())
        return false;
    TileLoader(tiles_[next_++], image_, context_);
    return next_ < tiles_.size();
}
