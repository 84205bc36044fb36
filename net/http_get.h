// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one network operation the program needs: GET a URL into a byte buffer.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The URLs a caller will ask for, in its order, one per call; nothing once there are no more.
// An empty URL stands for an item that needs no transfer (the caller has it already).
using UrlsAhead = std::function<std::optional<QString>()>;

struct HttpFailure {
    int statusCode = 0; // 0 when no reply status was read
    QString statusText; // the status line without its first word, when there was one
    QString message;    // what went wrong, for diagnostics only
};

class HttpGet {
public:
    virtual ~HttpGet() = default;
    // Fetches url. On success returns nothing and body holds the final reply body alone;
    // otherwise returns the failure (body may then hold an error reply, to be discarded).
    virtual std::optional<HttpFailure> Get(const QString& url, QByteArray& body) = 0;
    // Between true and false (the tiles of one view): while the server has sent no byte at
    // all, the fetches share one wait of the usual length instead of waiting in turn.
    virtual void ShareSilentWait(bool on) { (void)on; }
    // Read-ahead: from now on the URLs are asked for in the order of upcoming; a client that
    // fetches several at once fetches them before they are asked for, others ignore it. An
    // empty function ends the read-ahead.
    virtual void ReadAheadAlong(UrlsAhead upcoming) { (void)upcoming; }
};
