#pragma once
// Ctrl+C (and a polite kill) as the command line's "Отмена": the signals are blocked and read
// from a descriptor at the job's checks, so a request in progress is never interrupted.
// Create it before any thread starts, so that every thread inherits the blocked mask.
#include <csignal>

class CancelSignals {
public:
    CancelSignals();
    ~CancelSignals();
    CancelSignals(const CancelSignals&) = delete;
    CancelSignals& operator=(const CancelSignals&) = delete;

    // True once SIGINT or SIGTERM has arrived; stays true.
    bool Requested();

private:
    sigset_t previous_{};
    int fd_ = -1;
    bool requested_ = false;
};
