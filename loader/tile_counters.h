// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// What the tile loader has received and how often each kind of failure happened.
// Only the loader increments the error counts; batch jobs reset them, and count the tiles
// that failed every attempt, at their start.
struct TileCounters {
    std::int64_t bytesReceived = 0; // never reset; 64 bits so it cannot wrap
    std::int32_t receiveErrors = 0;
    std::int32_t badFileErrors = 0;
    std::int32_t writeErrors = 0;
    std::int64_t tilesMissing = 0;  // tiles of a batch job left as "could not load"
    std::int64_t tilesObtained = 0; // tiles of a batch job loaded, from the cache or the network
    // Tiles of a batch job passed over unloaded because the cache already holds them: in hand
    // all the same.
    std::int64_t tilesAlreadyCached = 0;
    // Cached tiles asked about again: still the server's, changed and replaced, or kept as
    // they were because the server could not be asked.
    std::int64_t tilesConfirmed = 0;
    std::int64_t tilesReplaced = 0;
    std::int64_t tilesKeptStale = 0;
    bool dailyLimitReached = false; // a fetch was refused by the source's daily quota

    void ResetErrors() {
        receiveErrors = badFileErrors = writeErrors = 0;
        tilesMissing = tilesObtained = tilesAlreadyCached = 0;
        tilesConfirmed = tilesReplaced = tilesKeptStale = 0;
        dailyLimitReached = false;
    }
};
