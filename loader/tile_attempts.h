// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The attempts at one tile, shared by the view's batch refresh and the stitch: a failed
// attempt leaves the "could not load" stand-in and is followed by a pause.
#include "image/tile_pixels.h"
#include "sources/tile_request.h"

#include <functional>

class ViewLoadHooks;

enum class TileAttemptsEnd { Loaded, Missing, Stopped };

struct TileAttemptRules {
    int attempts;     // fewer than 1 still makes one attempt
    int pauseSeconds; // after each failed attempt: 99 sleeps of 10 ms per second, cut short by a
                      // cancel
    // Asked before each attempt (numbered from 1); false ends the attempts as Stopped.
    std::function<bool(int attempt)> mayAttempt;
    // Told each attempt's image, the stand-in after its pause.
    std::function<void(const TilePixels&)> shown;
};

// Attempts tile through load until one succeeds (Loaded), the attempts run out (Missing) or
// mayAttempt refuses one (Stopped); image then holds the tile or the stand-in of the last
// failed attempt (untouched when no attempt was made).
TileAttemptsEnd AttemptTile(const TileRequest& tile, TilePixels& image,
                            const TileAttemptRules& rules,
                            const std::function<bool(const TileRequest&, TilePixels&)>& load,
                            ViewLoadHooks& hooks);
