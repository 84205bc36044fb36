#pragma once
// The settings every batch job reads, whoever holds them: the main window's controls or the
// settings file as the command line reads it.
#include "fetch/view_tiles.h"

struct BatchSettings {
    BatchRetry retry;            // attempts, pause after a failed attempt and the error limits
    bool scheduleDialog = false; // show the scheduling dialog before the job starts
};

// True when one of the counters has reached its limit: bad files first, then writes, then
// receives, the order in which the limits are tested everywhere.
inline bool ErrorLimitReached(const BatchRetry& retry, const TileCounters& counters) {
    return counters.badFileErrors >= retry.badFileLimit ||
           counters.writeErrors >= retry.writeLimit || counters.receiveErrors >= retry.receiveLimit;
}
