// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An HTTP tile server on 127.0.0.1 for window tests: it answers each request with the next
// scripted tile and remembers every URL it was asked for. Once the script is used up every
// request is answered 404.
#include "tests/support/scripted_tcp_server.h"

#include <QStringList>
#include <deque>
#include <mutex>

class LoopbackTiles {
public:
    void Reply(const QByteArray& body) {
        std::lock_guard lock(mutex_);
        script_.push_back(body);
    }
    // The request prefix of the tiles it serves, ending with the key's leading "t".
    QString Prefix() const { return server_.Url(QStringLiteral("/kh?v=5&n=404&t=t")); }

    // Written before each reply is sent, so complete once the client has its answer.
    QStringList requests;

private:
    QByteArray Answer(const QByteArray& request) { // "GET <target> HTTP/1.0 ..."
        std::lock_guard lock(mutex_);
        requests.append(server_.Url(QString::fromLatin1(request.split(' ').value(1))));
        if (script_.empty())
            return "HTTP/1.0 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
        const QByteArray body = script_.front();
        script_.pop_front();
        return "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: image/jpeg\r\n"
               "Content-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    std::mutex mutex_;
    std::deque<QByteArray> script_;
    // Last: stopped before the script it reads goes away.
    ScriptedTcpServer server_{{}, [this](const QByteArray& request) { return Answer(request); }};
};
