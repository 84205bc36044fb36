// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGINT and SIGTERM read from a descriptor instead of striking at once: the tile server polls
// the descriptor between requests, a batch command asks at its checks ("Отмена"). Neither is
// ever interrupted in the middle of a request or a file.
// Create it in the main thread before any other thread starts, so that every thread inherits
// the blocked mask. Processes started meanwhile must be given a clean mask (child_process.h).
#include "os/unique_fd.h"

#include <csignal>

class StopSignals {
public:
    // Blocks the two signals and opens the descriptor; Valid() tells whether that worked.
    StopSignals();
    // Discards any stop signal still pending, then restores the mask and the signals' actions
    // as they were (unless IgnoreFromNowOn was called): a signal left pending would otherwise
    // strike with its default action, and end the program with a status of its own.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Valid() const { return fd_.Valid(); }
    // Readable once a stop signal has arrived.
    int Fd() const { return fd_.Get(); }
    // True once a stop signal has arrived; stays true.
    bool Requested();
    // The work is over and the program only has to exit: from the destruction on, a stop
    // signal is ignored rather than allowed to replace the exit status.
    void IgnoreFromNowOn() { ignoreAfterwards_ = true; }

private:
    sigset_t previousMask_{};
    UniqueFd fd_;
    bool requested_ = false;
    bool ignoreAfterwards_ = false;
};
