// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a reply off a connection: lines, exact byte counts, or everything up to the close.
// Bytes that arrive beyond what was asked for are kept for the next read.
#include "net/tcp_socket.h"

#include <QByteArray>
#include <utility>

class HttpReplyReader {
public:
    enum class Status { Ok, Closed, Failed };

    HttpReplyReader(TcpSocket& socket, SocketWait wait) : HttpReplyReader(socket, wait, wait) {}
    // firstByteWait bounds the wait for the reply's first byte, wait every later one.
    HttpReplyReader(TcpSocket& socket, SocketWait wait, SocketWait firstByteWait)
        : socket_(socket), wait_(std::move(wait)), firstByteWait_(std::move(firstByteWait)) {}

    // True once any byte of the reply has arrived.
    bool Heard() const { return heard_; }

    // The bytes up to the next LF, without the LF and a CR before it. Closed when the peer
    // closes first; Failed when the line grows beyond maxLength.
    Status ReadLine(QByteArray& line, qsizetype maxLength);

    // Appends exactly count bytes to out, which is grown once in advance. Closed when the peer
    // closes first (out then holds what did arrive).
    Status ReadExact(qint64 count, QByteArray& out);

    // Appends everything up to the peer's close; Failed as soon as out would exceed limit.
    Status ReadToClose(QByteArray& out, qint64 limit);

    // Why the last read gave Failed.
    const QString& error() const { return error_; }

    // The most that one socket read asks for.
    static constexpr qint64 kReceivePiece = 65536;

private:
    // Reads one more piece into the pending bytes; Closed or Failed when none came.
    Status Fill();

    TcpSocket& socket_;
    SocketWait wait_;
    SocketWait firstByteWait_;
    bool heard_ = false;
    QByteArray pending_;
    qsizetype pendingStart_ = 0;
    QString error_;
};
