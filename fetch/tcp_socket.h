#pragma once
// A client TCP connection with time-outs on every wait. The descriptor is non-blocking and
// owned by the object: it is closed when the object goes, on every path.
#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <optional>

class TcpSocket {
public:
    TcpSocket() = default;
    // Takes over a descriptor that is already connected (one end of a socket pair, say) and
    // makes it non-blocking like the ones Connect opens.
    explicit TcpSocket(int connectedFd);
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Resolves host and connects to the first address that accepts within the time-out
    // (one deadline for all addresses). Closes any previous connection first.
    std::optional<QString> Connect(const QString& host, int port,
                                   std::chrono::milliseconds timeout);
    void Close();
    bool isOpen() const { return fd_ >= 0; }

    // True when the connection is open and idle: the peer has neither closed it nor sent
    // anything unasked, so a new request may be written to it.
    bool IsIdle() const;

    // Writes all of data; the time-out bounds each wait for the socket to take more.
    std::optional<QString> SendAll(QByteArrayView data, std::chrono::milliseconds timeout);

    // Reads at most maxBytes into buffer, waiting up to timeout for the first of them.
    // Returns the count read, 0 when the peer has closed, -1 on error or time-out (error set).
    qint64 Receive(char* buffer, qint64 maxBytes, std::chrono::milliseconds timeout,
                   QString& error);

private:
    int fd_ = -1;
};
