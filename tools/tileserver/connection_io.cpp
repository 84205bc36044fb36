// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/connection_io.h"

#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace tileserver {

namespace {

using Clock = std::chrono::steady_clock;

enum class Readiness { Ready, TimedOut, Stopped, Failed };

// Waits until fd is ready for events (or, with fd < 0, just for the deadline). A negative
// stopFd is never ready.
Readiness WaitFor(int fd, short events, int stopFd, Clock::time_point deadline) {
    for (;;) {
        const auto now = Clock::now();
        if (now >= deadline)
            return Readiness::TimedOut;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
        const int n = ::poll(fds, fd >= 0 ? 2 : 1, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Readiness::Failed;
        if (fds[0].revents != 0)
            return Readiness::Stopped;
        if (n == 0)
            continue; // the loop head decides whether the deadline has passed
        return Readiness::Ready;
    }
}

bool HeadIsComplete(const std::string& head) {
    return head.find("\r\n\r\n") != std::string::npos || head.find("\n\n") != std::string::npos;
}

bool SendAll(int fd, int stopFd, std::chrono::milliseconds limit, std::string_view bytes) {
    const auto deadline = Clock::now() + limit;
    while (!bytes.empty()) {
        if (WaitFor(fd, POLLOUT, stopFd, deadline) != Readiness::Ready)
            return false;
        // MSG_NOSIGNAL: a client that hangs up early must not kill the server with SIGPIPE.
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

} // namespace

HeadOutcome ReadRequestHead(int fd, int stopFd, std::chrono::milliseconds limit,
                            std::string& head) {
    const auto deadline = Clock::now() + limit;
    char buffer[4096];
    while (!HeadIsComplete(head)) {
        if (head.size() > kMaxRequestHead)
            return HeadOutcome::TooLarge;
        switch (WaitFor(fd, POLLIN, stopFd, deadline)) {
        case Readiness::Ready:
            break;
        case Readiness::TimedOut:
            return HeadOutcome::TimedOut;
        case Readiness::Stopped:
            return HeadOutcome::Stopped;
        case Readiness::Failed:
            return HeadOutcome::Failed;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got == 0)
            return HeadOutcome::Closed;
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return HeadOutcome::Failed;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return HeadOutcome::Complete;
}

bool SendFinalReply(int fd, int stopFd, std::chrono::milliseconds limit, std::string_view bytes) {
    // Corked, the kernel holds back the last partial segment until the shutdown below,
    // which then carries the FIN in that same segment.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_CORK, &on, sizeof on);
    const bool sent = SendAll(fd, stopFd, limit, bytes);
    ::shutdown(fd, SHUT_WR);
    return sent;
}

bool WaitUnlessStopped(int stopFd, std::chrono::milliseconds duration) {
    return WaitFor(-1, 0, stopFd, Clock::now() + duration) == Readiness::TimedOut;
}

} // namespace tileserver
