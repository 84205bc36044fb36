// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one network operation the program needs: GET a URL into a byte buffer.
#include "net/reply_validators.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The URLs a caller will ask for, in its order, one per call; nothing once there are no more.
// An empty URL stands for an item that needs no transfer (the caller has it already).
using UrlsAhead = std::function<std::optional<QString>()>;

// A copy of a URL's reply that the caller holds already: a request for it asks the server for
// it only if it changed since (If-Modified-Since, and If-None-Match when a tag is known).
struct HeldCopy {
    qint64 modifiedSecs = 0; // seconds since 1970 (UTC) of the copy
    QByteArray etag;         // the server's entity tag for it, quotes included; may be empty
};

// The held copy of a URL, or nothing when there is none.
using HeldCopies = std::function<std::optional<HeldCopy>(const QString& url)>;

// The status of a reply that says the held copy is still the server's.
inline constexpr int kNotModified = 304;
// The status of a fetch not made because the source's daily quota is used up.
inline constexpr int kDailyLimitReached = -1;

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
    // Work for the next Get (or GetIfChanged) to do once its request has left, while the
    // server works on the reply: the caller's own preparation then costs no time of its own.
    // Done at most once, before that fetch returns; a fetch that sends no request, or a client
    // that does not take it, leaves it undone, for the caller to do after if still needed.
    virtual void WhileReplyIsAwaited(std::function<void()> work) { (void)work; }

    // Fetches url asking only for a change to held: a server that keeps to it answers
    // kNotModified, which comes back as a failure of that status. A client that cannot ask
    // fetches the whole reply, for the caller to compare.
    virtual std::optional<HttpFailure> GetIfChanged(const QString& url, const HeldCopy& held,
                                                    QByteArray& body) {
        (void)held;
        return Get(url, body);
    }
    // The copies held of URLs read ahead: those are asked for as GetIfChanged asks.
    virtual void SetHeldCopies(HeldCopies held) { (void)held; }
    // What the reply of the last Get or GetIfChanged said of its freshness; nothing known for
    // a client that does not read it.
    virtual ReplyValidators LastValidators() const { return {}; }
};
