// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tiles fetched into the cache while the window has nothing else to do (the ring just outside
// the block shown), one at a time, so that the event loop runs between them and any move
// takes the connections back at once.
#include "loader/view_tiles.h"

#include <vector>

class CacheAhead {
public:
    // Starts the walk along tiles, in their order: a client of atOnce > 1 connections keeps
    // that many under way, as it does for the block. Nothing is shown.
    CacheAhead(std::vector<TileRequest> tiles, int atOnce, const ViewSource& source,
               TileCounters& counters, LoaderHooks& hooks);
    // Lets go of the walk: the transfers still under way are dropped.
    ~CacheAhead();
    CacheAhead(const CacheAhead&) = delete;
    CacheAhead& operator=(const CacheAhead&) = delete;

    // Loads the next tile into the cache, one attempt; false once there is none left.
    bool Step();

private:
    std::vector<TileRequest> tiles_;
    std::size_t next_ = 0;
    ViewSource source_;
    TileLoaderContext context_;
    TilePixels image_;
};
