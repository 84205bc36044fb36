// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading the four tiles of the view, with the retries and error limits of batch work.
#include "loader/tile_cache.h"
#include "loader/tile_counters.h"
#include "loader/tile_loader.h"
#include "sources/tile_request.h"
#include "sources/tile_source.h"
#include "tiles/view_urls.h"
#include "tiles/work_mode.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>

// Settings that apply while a batch job drives the view.
struct BatchRetry {
    int attempts;     // per tile; fewer than 1 still makes one attempt
    int pauseSeconds; // after each failed attempt; one pause is 99 sleeps of 10 ms per second
    int badFileLimit; // the refresh stops once a counter is at or above its limit
    int writeLimit;
    int receiveLimit;
};

// True when one of the counters has reached its limit: bad files first, then writes, then
// receives, the order in which the limits are tested everywhere.
inline bool ErrorLimitReached(const BatchRetry& retry, const TileCounters& counters) {
    // The source's daily quota stops the work as a limit does; the job says which it was.
    return counters.dailyLimitReached || counters.badFileErrors >= retry.badFileLimit ||
           counters.writeErrors >= retry.writeLimit || counters.receiveErrors >= retry.receiveLimit;
}

class ViewLoadHooks : public LoaderHooks {
public:
    bool CancelRequested() override = 0;
    virtual void SleepMs(int ms) = 0;
    // Puts image into the view's slot (0 top-left, 1 top-right, 2 bottom-right,
    // 3 bottom-left); a larger block's further tiles follow in the order they were given.
    virtual void ShowTile(int slot, const TilePixels& image) = 0;
};

enum class ViewLoadOutcome { Completed, Aborted };

// Loads tiles in slot order through loadTile and shows each attempt's result; a failed
// attempt shows the "could not load" placeholder. Without batch, each tile gets exactly
// one attempt and nothing can stop the loop. With batch, a tile is retried until it
// succeeds or its attempts run out, pausing after each failure, and the loop returns
// Aborted before an attempt once cancel is requested or an error limit is reached,
// leaving the tiles shown so far. Events are pumped before every attempt and during
// pauses; what follows the loop is the caller's. A batch tile whose every attempt failed
// adds one to counters.tilesMissing.
ViewLoadOutcome LoadViewTiles(std::span<const TileRequest> tiles,
                              const std::optional<BatchRetry>& batch, TileCounters& counters,
                              const std::function<bool(const TileRequest&, TilePixels&)>& loadTile,
                              ViewLoadHooks& hooks);

// Where the tiles of a view come from.
struct ViewSource {
    std::shared_ptr<const TileSource> tiles; // requests and cache files
    WorkMode mode = WorkMode::CacheAndInternet;
    HttpGet& http;
    // Kept by whoever loads view after view, so that no tile allocates buffers of its own.
    TileBuffers* buffers = nullptr;
    // Set by a job that only copies the tiles: see TileLoaderContext.
    const TileBytesSink* copy = nullptr;
    bool layoutOnly = false;
    // Cached tiles it makes due are asked about again; none without it.
    const RefreshRule* refresh = nullptr;
};

// The tiles through the tile loader, as LoadViewTiles loads them.
ViewLoadOutcome LoadViewRequests(std::span<const TileRequest> tiles, const ViewSource& source,
                                 const std::optional<BatchRetry>& batch, TileCounters& counters,
                                 ViewLoadHooks& hooks);

// The four tiles of urls, as LoadViewRequests loads them.
ViewLoadOutcome LoadView(const ViewUrls& urls, const ViewSource& source,
                         const std::optional<BatchRetry>& batch, TileCounters& counters,
                         ViewLoadHooks& hooks);

// A block of tiles on screen, in its fetch order, one attempt each: a client of atOnce > 1
// connections reads the block ahead, keeping that many tiles under way. keepGoing is asked
// before each tile, and false stops the block there (the view moved on): the tiles not yet
// under way are never requested, and no tile is shown after it said so.
ViewLoadOutcome LoadBlock(std::span<const TileRequest> tiles, int atOnce, const ViewSource& source,
                          TileCounters& counters, ViewLoadHooks& hooks,
                          const std::function<bool()>& keepGoing);
