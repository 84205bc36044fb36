#include "app/cancel_signals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

CancelSignals::CancelSignals() {
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &mask, &previous_);
    fd_ = signalfd(-1, &mask, SFD_NONBLOCK | SFD_CLOEXEC);
}

CancelSignals::~CancelSignals() {
    if (fd_ >= 0)
        close(fd_);
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool CancelSignals::Requested() {
    signalfd_siginfo info{};
    while (fd_ >= 0 && read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        requested_ = true;
    return requested_;
}
