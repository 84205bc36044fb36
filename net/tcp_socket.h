// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A client TCP connection with time-outs on every wait. The descriptor is non-blocking and
// owned by the object: it is closed when the object goes, on every path.
#include "os/unique_fd.h"

#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

// The bounds of one wait for the peer, and what the caller does while it lasts.
struct SocketWait {
    using Clock = std::chrono::steady_clock;
    // How often whileWaiting runs while nothing happens.
    static constexpr std::chrono::milliseconds kSlice{50};

    std::chrono::milliseconds timeout; // this wait alone
    // Shared by every wait of one exchange; the wait ends there whatever timeout allows.
    Clock::time_point deadline = Clock::time_point::max();
    // When set, called after every slice of the wait in which nothing happened.
    std::function<void()> whileWaiting;
    // When set, asked after every such slice; true ends the wait as a failure (a cancel).
    std::function<bool()> stop;
};

class TcpSocket {
public:
    TcpSocket() = default;
    // Takes over a descriptor that is already connected (one end of a socket pair, say) and
    // makes it non-blocking like the ones Connect opens.
    explicit TcpSocket(int connectedFd);
    TcpSocket(TcpSocket&&) noexcept = default;
    TcpSocket& operator=(TcpSocket&&) noexcept = default;

    // Resolves host and connects to the first address that accepts within the time-out
    // (one time-out for all addresses). Closes any previous connection first. The name is
    // resolved before the wait begins and is bounded only by the resolver's own time-outs.
    std::optional<QString> Connect(const QString& host, int port, const SocketWait& wait);
    void Close();
    bool isOpen() const { return fd_.Valid(); }

    // True when the connection is open and idle: the peer has neither closed it nor sent
    // anything unasked, so a new request may be written to it.
    bool IsIdle() const;

    // Writes all of data; the wait bounds each wait for the socket to take more.
    std::optional<QString> SendAll(QByteArrayView data, const SocketWait& wait);

    // Reads at most maxBytes into buffer, waiting as the wait allows for the first of them.
    // Returns the count read, 0 when the peer has closed, -1 on error or time-out (error set).
    qint64 Receive(char* buffer, qint64 maxBytes, const SocketWait& wait, QString& error);

private:
    UniqueFd fd_;
};
