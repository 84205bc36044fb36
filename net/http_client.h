// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's HTTP client: a plain HTTP/1.0 GET, straight to the host of the URL or through
// an HTTP proxy with optional Basic authentication, following redirects.
#include "net/http_get.h"
#include "net/proxy_settings.h"
#include "net/tcp_socket.h"

#include <chrono>
#include <functional>
#include <optional>

// The values every request carries; they never change.
namespace http_request_values {
inline constexpr char kProtocolVersion[] = "1.0";
inline constexpr char kAccept[] = "image/png,*/*;q=0.5";
inline constexpr char kAcceptCharset[] = "windows-1251,utf-8;q=0.7,*;q=0.7";
inline constexpr char kUserAgent[] =
    "Mozilla/5.0 (Windows; U; Windows NT 5.1; ru-RU; rv:1.7.12) Gecko/20050919 Firefox/1.0.7";
inline constexpr char kConnection[] = "keep-alive";
// Requests per fetch, the first included: at most 14 redirects are followed, and a fifteenth
// redirect fails the fetch.
inline constexpr int kRequestLimit = 15;
} // namespace http_request_values

struct HttpClientOptions {
    // The longest wait for a connection to be made, and for the peer to take more of a
    // request or send more of a reply; running out is a failure of the fetch.
    std::chrono::milliseconds connectTimeout{30000};
    std::chrono::milliseconds readTimeout{30000};
    // The longest a whole fetch may take, from the first connection through every redirect to
    // the last byte of the body: a peer that drips its reply cannot hold a tile for long.
    std::chrono::milliseconds exchangeTimeout{60000};
    // A reply body larger than this, announced or received, fails the fetch.
    qint64 bodyLimit = 64 * 1024 * 1024;
};

class HttpClient : public HttpGet {
public:
    // defaultHost is where a URL without a host goes until a request has named one.
    explicit HttpClient(QString defaultHost = QStringLiteral("127.0.0.1"),
                        HttpClientOptions options = {});

    std::optional<HttpFailure> Get(const QString& url, QByteArray& body) override;
    // The shared wait lasts readTimeout from the call; the first byte from a peer ends it.
    void ShareSilentWait(bool on) override;
    void WhileReplyIsAwaited(std::function<void()> work) override {
        whileAwaited_ = std::move(work);
    }

    void SetProxy(const ProxySettings& proxy) { proxy_ = proxy; }
    const ProxySettings& proxy() const { return proxy_; }
    void SetOptions(const HttpClientOptions& options) { options_ = options; }
    const HttpClientOptions& options() const { return options_; }
    // Called about every SocketWait::kSlice while a fetch waits for its peer (never while
    // bytes flow), so that the caller can keep its window painted. A fetch asked for from it
    // fails at once.
    void SetWhileWaiting(std::function<void()> whileWaiting) {
        whileWaiting_ = std::move(whileWaiting);
    }
    // Asked as often while a fetch waits for its peer; true fails the fetch at once (the user
    // cancelled), so that a silent server does not hold a cancel for the whole time-out.
    void SetStopWaiting(std::function<bool()> stop) { stop_ = std::move(stop); }

private:
    // Where the last request went; a URL without scheme or host takes them from here.
    struct Origin {
        QString scheme;
        QString host;
        std::optional<int> port; // as the URL gave it
    };
    struct Peer {
        QString host;
        int port = 0;
    };
    struct Reply {
        int statusCode = 0;
        QString statusText;
        QString location;
        bool peerKeepsConnection = false; // "Connection: keep-alive"; HTTP/1.0 peers close
    };

    using Deadline = SocketWait::Clock::time_point;

    // One request and its reply, done by deadline; whileAwaited is done (and emptied) once the
    // request has left. On failure the connection is closed unless a complete reply was read.
    std::optional<HttpFailure> Exchange(const QString& url, Deadline deadline, QByteArray& body,
                                        Reply& reply, std::function<void()>& whileAwaited);
    std::optional<QString> OpenConnection(const Peer& peer, Deadline deadline);
    bool UsingProxy() const { return !proxy_.server.isEmpty(); }

    ProxySettings proxy_;
    HttpClientOptions options_;
    std::function<void()> whileWaiting_;
    std::function<bool()> stop_;
    std::function<void()> whileAwaited_; // the next fetch's, done once its first request left
    bool fetching_ = false;
    std::optional<Deadline> silentUntil_; // the shared wait, while nothing has been heard
    Origin last_;
    TcpSocket connection_;
    Peer connectedPeer_;
};
