#include "fetch/view_tiles.h"

#include "fetch/placeholder_tile.h"

#include <QScopeGuard>
#include <algorithm>

namespace {

// A pause is cut into this many short sleeps so that cancel is noticed quickly.
constexpr int kSleepsPerPause = 99;

bool MustStop(const BatchRetry& batch, const TileCounters& counters, ViewLoadHooks& hooks) {
    return hooks.CancelRequested() || ErrorLimitReached(batch, counters);
}

void Pause(int sleepMs, ViewLoadHooks& hooks) {
    for (int i = 0; i < kSleepsPerPause && !hooks.CancelRequested(); ++i) {
        hooks.SleepMs(sleepMs);
        hooks.PumpEvents();
    }
}

} // namespace

ViewLoadOutcome LoadViewTiles(const std::array<TileRequest, 4>& tiles,
                              const std::optional<BatchRetry>& batch, TileCounters& counters,
                              const std::function<bool(const TileRequest&, QImage&)>& loadTile,
                              ViewLoadHooks& hooks) {
    // Every tile is tried at least once, or its slot would keep a stale picture.
    const int attempts = batch ? std::max(batch->attempts, 1) : 1;
    const int sleepMs = batch ? batch->pauseSeconds * 10 : 0;
    QImage image;
    for (int slot = 0; slot < static_cast<int>(tiles.size()); ++slot) {
        const TileRequest& tile = tiles[slot];
        bool loaded = false;
        for (int attempt = 1; attempt <= attempts && !loaded; ++attempt) {
            hooks.PumpEvents();
            if (batch && MustStop(*batch, counters, hooks))
                return ViewLoadOutcome::Aborted;
            loaded = loadTile(tile, image);
            if (!loaded) {
                image = PlaceholderTile(QStringLiteral("Не удалось загрузить"),
                                        QuadPathLine(tile.quadPath));
                if (sleepMs > 0)
                    Pause(sleepMs, hooks);
            }
            hooks.ShowTile(slot, image);
        }
        if (batch && !loaded)
            ++counters.tilesMissing;
    }
    return ViewLoadOutcome::Completed;
}

ViewLoadOutcome LoadView(const ViewUrls& urls, const ViewSource& source,
                         const std::optional<BatchRetry>& batch, TileCounters& counters,
                         ViewLoadHooks& hooks) {
    std::array<TileRequest, 4> tiles;
    for (int slot = 0; slot < 4; ++slot)
        tiles[slot] = MakeTileRequest(source.cacheRoot, urls[slot], source.prefixLength);
    TileLoaderContext context{source.mode, source.http, counters, hooks, source.buffers};
    // Outside batch work each tile has one attempt: a silent server must not keep the window
    // waiting four times over. Batch work retries and waits for each tile in full.
    source.http.ShareSilentWait(!batch);
    const auto shared = qScopeGuard([&source] { source.http.ShareSilentWait(false); });
    return LoadViewTiles(
        tiles, batch, counters,
        [&context](const TileRequest& tile, QImage& image) {
            return TileLoader(tile, image, context);
        },
        hooks);
}
