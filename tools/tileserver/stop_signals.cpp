#include "tools/tileserver/stop_signals.h"

#include <sys/signalfd.h>

namespace tileserver {

StopSignals::StopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &stop, &previous_) != 0)
        return;
    fd_ = UniqueFd(signalfd(-1, &stop, SFD_NONBLOCK | SFD_CLOEXEC));
}

StopSignals::~StopSignals() {
    // A signal left pending would strike with its default action once unblocked.
    signalfd_siginfo info;
    while (fd_.Valid() && ::read(fd_.Get(), &info, sizeof info) == sizeof info) {
    }
    fd_.Reset();
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace tileserver
