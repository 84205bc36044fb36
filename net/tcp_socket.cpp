// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/tcp_socket.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

QString SystemError(const char* what, int code) {
    return QStringLiteral("%1: %2").arg(QLatin1StringView(what),
                                        QString::fromLocal8Bit(std::strerror(code)));
}

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return 0;
    return left.count() > INT32_MAX ? INT32_MAX : static_cast<int>(left.count());
}

// Waits for events on fd, retrying when a signal interrupts the wait.
int PollOne(int fd, short events, int timeoutMs, short& revents) {
    pollfd p{fd, events, 0};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int n = poll(&p, 1, timeoutMs);
        if (n >= 0 || errno != EINTR) {
            revents = p.revents;
            return n;
        }
        timeoutMs = RemainingMs(deadline);
    }
}

enum class Waited { Ready, TimedOut, Stopped, Failed };

QString StoppedText() {
    return QStringLiteral("the wait was cancelled");
}

// Waits for events on fd until the wait's time-out or its deadline, whichever comes first, in
// slices between which the caller's whileWaiting runs. Failed leaves errno as poll set it.
Waited WaitFor(int fd, short events, const SocketWait& wait) {
    const Clock::time_point now = Clock::now();
    // Past the deadline a peer that keeps a trickle going must not win one more wait.
    if (now >= wait.deadline)
        return Waited::TimedOut;
    const Clock::time_point end = std::min(now + wait.timeout, wait.deadline);
    for (;;) {
        Clock::time_point sliceEnd = end;
        if (wait.whileWaiting || wait.stop)
            sliceEnd = std::min(end, Clock::now() + SocketWait::kSlice);
        short revents = 0;
        const int n = PollOne(fd, events, RemainingMs(sliceEnd), revents);
        if (n > 0)
            return Waited::Ready;
        if (n < 0)
            return Waited::Failed;
        if (Clock::now() >= end)
            return Waited::TimedOut;
        if (wait.whileWaiting)
            wait.whileWaiting();
        if (wait.stop && wait.stop())
            return Waited::Stopped;
    }
}

} // namespace

TcpSocket::TcpSocket(int connectedFd) : fd_(connectedFd) {
    if (fd_.Valid()) {
        ::fcntl(fd_.Get(), F_SETFL, ::fcntl(fd_.Get(), F_GETFL) | O_NONBLOCK);
        ::fcntl(fd_.Get(), F_SETFD, FD_CLOEXEC);
    }
}

void TcpSocket::Close() {
    fd_.Reset();
}

std::optional<QString> TcpSocket::Connect(const QString& host, int port, const SocketWait& wait) {
    Close();
    if (host.isEmpty())
        return QStringLiteral("no host to connect to");
    if (port < 1 || port > 65535)
        return QStringLiteral("invalid port %1").arg(port);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray node = host.toLatin1();
    const QByteArray service = QByteArray::number(port);
    const int rc = getaddrinfo(node.constData(), service.constData(), &hints, &found);
    if (rc != 0)
        return QStringLiteral("cannot resolve %1: %2")
            .arg(host, QString::fromLocal8Bit(gai_strerror(rc)));
    const AddrInfoList list(found);

    // One time-out for all addresses.
    SocketWait allAddresses = wait;
    allAddresses.deadline = std::min(wait.deadline, Clock::now() + wait.timeout);
    QString lastError = QStringLiteral("no address for %1").arg(host);
    for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
        UniqueFd attempt(
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (!attempt.Valid()) {
            lastError = SystemError("socket", errno);
            continue;
        }
        if (::connect(attempt.Get(), a->ai_addr, a->ai_addrlen) == 0) {
            fd_ = std::move(attempt);
            return std::nullopt;
        }
        if (errno != EINPROGRESS) {
            lastError = SystemError("connect", errno);
            continue;
        }
        const Waited waited = WaitFor(attempt.Get(), POLLOUT, allAddresses);
        if (waited == Waited::TimedOut)
            return QStringLiteral("connecting to %1:%2 timed out").arg(host).arg(port);
        if (waited == Waited::Stopped)
            return StoppedText();
        if (waited == Waited::Failed) {
            lastError = SystemError("poll", errno);
            continue;
        }
        int soError = 0;
        socklen_t len = sizeof soError;
        if (getsockopt(attempt.Get(), SOL_SOCKET, SO_ERROR, &soError, &len) != 0)
            soError = errno;
        if (soError == 0) {
            fd_ = std::move(attempt);
            return std::nullopt;
        }
        lastError = SystemError("connect", soError);
    }
    return lastError;
}

bool TcpSocket::IsIdle() const {
    if (!fd_.Valid())
        return false;
    short revents = 0;
    const int n = PollOne(fd_.Get(), POLLIN, 0, revents);
    // Readable means either the peer's close or bytes nobody asked for; both spoil the
    // connection for a new request.
    return n == 0;
}

std::optional<QString> TcpSocket::SendAll(QByteArrayView data, const SocketWait& wait) {
    if (!fd_.Valid())
        return QStringLiteral("not connected");
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd_.Get(), data.data() + sent,
                                 static_cast<size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n >= 0) {
            sent += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return SystemError("send", errno);
        const Waited waited = WaitFor(fd_.Get(), POLLOUT, wait);
        if (waited == Waited::TimedOut)
            return QStringLiteral("sending timed out");
        if (waited == Waited::Stopped)
            return StoppedText();
        if (waited == Waited::Failed)
            return SystemError("poll", errno);
    }
    return std::nullopt;
}

qint64 TcpSocket::Receive(char* buffer, qint64 maxBytes, const SocketWait& wait, QString& error) {
    if (!fd_.Valid()) {
        error = QStringLiteral("not connected");
        return -1;
    }
    for (;;) {
        const ssize_t n = ::recv(fd_.Get(), buffer, static_cast<size_t>(maxBytes), 0);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            error = SystemError("recv", errno);
            return -1;
        }
        const Waited waited = WaitFor(fd_.Get(), POLLIN, wait);
        if (waited == Waited::TimedOut) {
            error = QStringLiteral("reading timed out");
            return -1;
        }
        if (waited == Waited::Stopped) {
            error = StoppedText();
            return -1;
        }
        if (waited == Waited::Failed) {
            error = SystemError("poll", errno);
            return -1;
        }
    }
}
