#pragma once
// SIGINT and SIGTERM turned into a readable descriptor, so the server's poll loop can stop
// cleanly between requests instead of dying in the middle of one.
#include "tools/tileserver/unique_fd.h"

#include <optional>
#include <signal.h>
#include <string>

namespace tileserver {

class StopSignals {
public:
    // Blocks the two signals and opens the descriptor; Valid() tells whether that worked.
    StopSignals();
    // Drains any stop signal already received, then unblocks the signals as before.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Valid() const { return fd_.Valid(); }
    // Readable once a stop signal has arrived.
    int Fd() const { return fd_.Get(); }

private:
    sigset_t previous_{};
    UniqueFd fd_;
};

} // namespace tileserver
