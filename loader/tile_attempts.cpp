// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_attempts.h"

#include "image/placeholder_tile.h"
#include "loader/view_tiles.h"

#include <algorithm>

namespace {

// A pause is cut into this many short sleeps so that the window is redrawn meanwhile and a
// cancel is noticed quickly.
constexpr int kSleepsPerPause = 99;

void Pause(int sleepMs, ViewLoadHooks& hooks) {
    for (int i = 0; i < kSleepsPerPause && sleepMs > 0 && !hooks.CancelRequested(); ++i) {
        hooks.SleepMs(sleepMs);
        hooks.PumpEvents();
    }
}

} // namespace

TileAttemptsEnd AttemptTile(const TileRequest& tile, TilePixels& image,
                            const TileAttemptRules& rules,
                            const std::function<bool(const TileRequest&, TilePixels&)>& load,
                            ViewLoadHooks& hooks) {
    const int attempts = std::max(rules.attempts, 1);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (rules.mayAttempt && !rules.mayAttempt(attempt))
            return TileAttemptsEnd::Stopped;
        if (load(tile, image)) {
            if (rules.shown)
                rules.shown(image);
            return TileAttemptsEnd::Loaded;
        }
        image =
            PlaceholderTile(QStringLiteral("Не удалось загрузить"), QuadPathLine(tile.quadPath));
        Pause(rules.pauseSeconds * 10, hooks);
        if (rules.shown)
            rules.shown(image);
    }
    return TileAttemptsEnd::Missing;
}
