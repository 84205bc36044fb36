// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replies and requests as they travel over the wire, for the HTTP client's tests.
#include "net/http_client.h"

#include <QByteArray>
#include <QString>

inline QByteArray OkReply(const QByteArray& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
           body;
}

inline QByteArray RedirectReply(const QString& location, const QByteArray& body = "moved") {
    return "HTTP/1.0 302 Found\r\nLocation: " + location.toLatin1() +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Short waits, so that a test that goes wrong fails instead of hanging.
inline HttpClientOptions QuickOptions() {
    HttpClientOptions options;
    options.connectTimeout = std::chrono::milliseconds(2000);
    options.readTimeout = std::chrono::milliseconds(2000);
    return options;
}

inline QByteArray ExpectedRequest(const QByteArray& target, const QByteArray& host,
                                  const QByteArray& proxyCredentials = {}) {
    QByteArray r = "GET " + target + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" +
                   "Accept: image/png,*/*;q=0.5\r\n" +
                   "Accept-Charset: windows-1251,utf-8;q=0.7,*;q=0.7\r\n" +
                   "User-Agent: Mozilla/5.0 (Windows; U; Windows NT 5.1; ru-RU; rv:1.7.12) "
                   "Gecko/20050919 Firefox/1.0.7\r\n" +
                   "Connection: keep-alive\r\n";
    if (!proxyCredentials.isEmpty())
        r += "Proxy-Authorization: Basic " + proxyCredentials + "\r\n";
    return r + "\r\n";
}
