// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/stop_signals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

StopSignals::StopSignals() {
    const sigset_t stop = StopSet();
    if (pthread_sigmask(SIG_BLOCK, &stop, &previousMask_) != 0)
        return;
    fd_ = UniqueFd(signalfd(-1, &stop, SFD_NONBLOCK | SFD_CLOEXEC));
}

StopSignals::~StopSignals() {
    // Setting a signal to be ignored discards it if pending, even one that arrives after the
    // descriptor was last read.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
    sigaction(SIGINT, &ignore, &previousInt);
    sigaction(SIGTERM, &ignore, &previousTerm);
    fd_.Reset(); // before the mask lets the signals through again
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
    if (!ignoreAfterwards_) {
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
    }
}

bool StopSignals::Requested() {
    signalfd_siginfo info{};
    while (fd_.Valid() && read(fd_.Get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        requested_ = true;
    return requested_;
}
