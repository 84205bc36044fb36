// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/view_tiles.h"

#include "loader/read_ahead.h"
#include "loader/tile_attempts.h"

#include <QScopeGuard>
#include <algorithm>

ViewLoadOutcome LoadViewTiles(std::span<const TileRequest> tiles,
                              const std::optional<BatchRetry>& batch, TileCounters& counters,
                              const std::function<bool(const TileRequest&, TilePixels&)>& loadTile,
                              ViewLoadHooks& hooks) {
    TilePixels image;
    for (int slot = 0; slot < static_cast<int>(tiles.size()); ++slot) {
        // Every tile is tried at least once, or its slot would keep a stale picture.
        const TileAttemptRules rules{
            .attempts = batch ? batch->attempts : 1,
            .pauseSeconds = batch ? batch->pauseSeconds : 0,
            .mayAttempt =
                [&](int) {
                    hooks.PumpEvents();
                    return !batch ||
                           !(hooks.CancelRequested() || ErrorLimitReached(*batch, counters));
                },
            .shown = [&](const TilePixels& shown) { hooks.ShowTile(slot, shown); }};
        switch (AttemptTile(tiles[slot], image, rules, loadTile, hooks)) {
        case TileAttemptsEnd::Stopped:
            return ViewLoadOutcome::Aborted;
        case TileAttemptsEnd::Missing:
            if (batch)
                ++counters.tilesMissing;
            break;
        case TileAttemptsEnd::Loaded:
            if (batch)
                ++counters.tilesObtained;
            break;
        }
    }
    return ViewLoadOutcome::Completed;
}

ViewLoadOutcome LoadView(const ViewUrls& urls, const ViewSource& source,
                         const std::optional<BatchRetry>& batch, TileCounters& counters,
                         ViewLoadHooks& hooks) {
    std::array<TileRequest, 4> tiles;
    for (int slot = 0; slot < 4; ++slot)
        tiles[slot] = source.tiles->Request(urls[slot]);
    return LoadViewRequests(tiles, source, batch, counters, hooks);
}

ViewLoadOutcome LoadViewRequests(std::span<const TileRequest> tiles, const ViewSource& source,
                                 const std::optional<BatchRetry>& batch, TileCounters& counters,
                                 ViewLoadHooks& hooks) {
    TileLoaderContext context{source.mode,    source.http, counters,          hooks,
                              source.buffers, source.copy, source.layoutOnly, source.refresh};
    // Outside batch work each tile has one attempt: a silent server must not keep the window
    // waiting four times over. Batch work retries and waits for each tile in full.
    source.http.ShareSilentWait(!batch);
    const auto shared = qScopeGuard([&source] { source.http.ShareSilentWait(false); });
    return LoadViewTiles(
        tiles, batch, counters,
        [&context](const TileRequest& tile, TilePixels& image) {
            return TileLoader(tile, image, context);
        },
        hooks);
}

ViewLoadOutcome LoadBlock(std::span<const TileRequest> tiles, int atOnce, const ViewSource& source,
                          TileCounters& counters, ViewLoadHooks& hooks,
                          const std::function<bool()>& keepGoing) {
    const auto unfollow = qScopeGuard([&source] { EndReadAhead(source.http, source.refresh); });
    TileLoaderContext context{source.mode,    source.http, counters,          hooks,
                              source.buffers, source.copy, source.layoutOnly, source.refresh};
    source.http.ShareSilentWait(true);
    const auto shared = qScopeGuard([&source] { source.http.ShareSilentWait(false); });
    const auto load = [&context](const TileRequest& tile, TilePixels& into) {
        return TileLoader(tile, into, context);
    };
    // One walk along the whole block: the window of transfers keeps as many tiles under way
    // as the source has connections, each drawn as it arrives; a source of one connection
    // fetches them one by one in this order.
    // A transfer that ends makes room for the next at once, before the loop below looks at
    // keepGoing again: the walk itself stops, so that a move starts no tile of the old block.
    if (atOnce > 1)
        StartReadAhead(
            source.http,
            [along = AlongList(tiles), &keepGoing]() -> std::optional<TileRequest> {
                return keepGoing() ? along() : std::nullopt;
            },
            source.mode, source.refresh);
    TilePixels image;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const TileAttemptRules rules{.attempts = 1,
                                     .pauseSeconds = 0,
                                     .mayAttempt =
                                         [&](int) {
                                             hooks.PumpEvents();
                                             return keepGoing();
                                         },
                                     .shown =
                                         [&](const TilePixels& shown) {
                                             if (keepGoing())
                                                 hooks.ShowTile(static_cast<int>(i), shown);
                                         }};
        if (AttemptTile(tiles[i], image, rules, load, hooks) == TileAttemptsEnd::Stopped)
            return ViewLoadOutcome::Aborted;
    }
    return ViewLoadOutcome::Completed;
}
