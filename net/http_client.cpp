// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_client.h"

#include "net/http_body.h"
#include "net/http_reply_head.h"
#include "net/http_reply_reader.h"
#include "net/http_request.h"
#include "net/http_url.h"

#include <QScopeGuard>
#include <utility>

namespace {

HttpFailure Failure(QString message) {
    return HttpFailure{0, QString(), std::move(message)};
}

bool IsRedirectCode(int code) {
    return code >= 300 && code <= 399 && code != 304;
}

} // namespace

HttpClient::HttpClient(QString defaultHost, HttpClientOptions options)
    : options_(options), last_{QStringLiteral("http"), std::move(defaultHost), std::nullopt} {}

std::optional<HttpFailure> HttpClient::Get(const QString& url, QByteArray& body) {
    using http_request_values::kRequestLimit;
    body.clear();
    // Only whileWaiting can ask while a fetch runs; the connection is the running fetch's.
    if (fetching_)
        return Failure(QStringLiteral("another fetch is waiting on this client"));
    fetching_ = true;
    // This fetch's alone, done once its first request has left.
    std::function<void()> whileAwaited = std::exchange(whileAwaited_, nullptr);
    const auto done = qScopeGuard([this] { fetching_ = false; });
    const Deadline deadline = SocketWait::Clock::now() + options_.exchangeTimeout;
    QString next = url;
    for (int request = 1;; ++request) {
        Reply reply;
        if (std::optional<HttpFailure> failure =
                Exchange(next, deadline, body, reply, whileAwaited))
            return failure;

        if (!reply.location.isEmpty() || IsRedirectCode(reply.statusCode)) {
            if (reply.location.isEmpty()) {
                // Nowhere to go: following it would fetch some other resource in its place.
                return HttpFailure{reply.statusCode, reply.statusText,
                                   QStringLiteral("redirect without a Location")};
            }
            connection_.Close();
            if (request >= kRequestLimit) {
                // A loop, most likely; the redirect's own body is not what was asked for.
                return HttpFailure{reply.statusCode, reply.statusText,
                                   QStringLiteral("more than %1 redirects").arg(kRequestLimit - 1)};
            }
            next = reply.location;
            continue;
        }
        if (reply.statusCode >= 200 && reply.statusCode <= 299) {
            // Version 1.0: a connection never outlives its reply.
            connection_.Close();
            return std::nullopt;
        }
        // The body was read in full, so the connection is clean for a next request, but only a
        // peer that promised to keep it open will not close it under that request.
        if (!reply.peerKeepsConnection)
            connection_.Close();
        return HttpFailure{reply.statusCode, reply.statusText,
                           QStringLiteral("reply %1").arg(reply.statusText)};
    }
}

void HttpClient::ShareSilentWait(bool on) {
    silentUntil_.reset();
    if (on)
        silentUntil_ = SocketWait::Clock::now() + options_.readTimeout;
}

std::optional<HttpFailure> HttpClient::Exchange(const QString& url, Deadline deadline,
                                                QByteArray& body, Reply& reply,
                                                std::function<void()>& whileAwaited) {
    const HttpUrl parts = SplitUrl(url);
    Origin origin;
    origin.scheme = parts.scheme.isEmpty() ? last_.scheme : parts.scheme;
    if (parts.host.isEmpty()) {
        // A target alone (a relative redirect above all) stays where the last request went.
        origin.host = last_.host;
        origin.port = parts.port ? parts.port : last_.port;
    } else {
        origin.host = parts.host;
        origin.port = parts.port;
    }

    Peer peer;
    QString target = parts.target;
    QByteArray credentials;
    if (UsingProxy()) {
        peer = Peer{proxy_.server, proxy_.port};
        QString absolute = origin.scheme + QStringLiteral("://") + origin.host;
        if (origin.port)
            absolute += u':' + QString::number(*origin.port);
        target = absolute + target;
        if (!proxy_.user.isEmpty())
            credentials = BasicCredentials(proxy_.user, proxy_.password);
    } else {
        if (origin.scheme.compare(u"https", Qt::CaseInsensitive) == 0)
            return Failure(QStringLiteral("HTTPS is not supported without a proxy"));
        peer = Peer{origin.host, origin.port.value_or(80)};
        if (!parts.host.isEmpty() && !parts.port)
            connection_.Close();
    }
    last_ = origin;

    const std::optional<QByteArray> request = BuildGetRequest(target, origin.host, credentials);
    if (!request)
        return Failure(QStringLiteral("URL cannot be sent in a request: %1").arg(url));

    // Until the peer says something, a shared wait for a silent server bounds everything.
    const Deadline untilHeard = silentUntil_ ? std::min(deadline, *silentUntil_) : deadline;
    if (std::optional<QString> failed = OpenConnection(peer, untilHeard))
        return Failure(*failed);
    const SocketWait readWait{options_.readTimeout, deadline, whileWaiting_, stop_};
    SocketWait silentWait = readWait;
    silentWait.deadline = untilHeard;
    if (std::optional<QString> failed = connection_.SendAll(*request, silentWait)) {
        connection_.Close();
        return Failure(*failed);
    }
    if (whileAwaited)
        std::exchange(whileAwaited, nullptr)();

    HttpReplyReader reader(connection_, readWait, silentWait);
    // A peer that answers is not silent: the rest of the view waits for it in full.
    const auto heard = qScopeGuard([this, &reader] {
        if (reader.Heard())
            silentUntil_.reset();
    });
    HttpReplyHead head;
    if (std::optional<QString> failed = ReadReplyHead(reader, head)) {
        connection_.Close();
        return Failure(*failed);
    }
    reply.statusCode = head.statusCode;
    reply.statusText = head.statusText;
    reply.location = head.Value(u"Location").value_or(QString()).trimmed();
    reply.peerKeepsConnection =
        head.Value(u"Connection").value_or(QString()).contains(u"keep-alive", Qt::CaseInsensitive);

    if (std::optional<QString> failed = ReadReplyBody(reader, head, options_.bodyLimit, body)) {
        connection_.Close();
        return HttpFailure{head.statusCode, head.statusText, *failed};
    }
    return std::nullopt;
}

std::optional<QString> HttpClient::OpenConnection(const Peer& peer, Deadline deadline) {
    // A connection left open after an error reply is reused only for the same peer and only
    // while the peer has neither closed it nor sent anything since.
    if (connection_.isOpen()) {
        const bool samePeer = connectedPeer_.port == peer.port &&
                              connectedPeer_.host.compare(peer.host, Qt::CaseInsensitive) == 0;
        if (samePeer && connection_.IsIdle())
            return std::nullopt;
        connection_.Close();
    }
    if (std::optional<QString> failed = connection_.Connect(
            peer.host, peer.port,
            SocketWait{options_.connectTimeout, deadline, whileWaiting_, stop_}))
        return failed;
    connectedPeer_ = peer;
    return std::nullopt;
}
