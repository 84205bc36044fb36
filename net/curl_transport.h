// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fetching URLs over libcurl: HTTPS with certificate checks, the proxy of the settings,
// kept-alive connections (HTTP/2 where the server offers it) and up to a set number of
// transfers at once, all on the calling thread.
#include "net/daily_quota.h"
#include "net/http_client.h"
#include "net/http_get.h"
#include "net/proxy_settings.h"
#include "net/reply_validators.h"
#include "net/token_bucket.h"

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

struct TransportSettings {
    ProxySettings proxy;
    QString caFile;  // certificates trusted besides the system's store; empty: none
    QString contact; // for the User-Agent, so that a provider can reach the user; may be empty
    HttpClientOptions limits;    // the same time-outs and body limit as the program's own client
    double rate = 0;             // transfers started per second at most; 0: no limit
    qint64 bandwidth = 0;        // bytes received per second at most; 0: no limit
    DailyQuota* quota = nullptr; // requests a day, counted across runs; none: no quota
};

// What became of one transfer.
struct UrlFetch {
    enum class Result {
        Data,         // body holds the reply body; the loader checks it
        ReceiveError, // no usable reply: a network or TLS failure, a status other than 2xx
    };
    Result result = Result::ReceiveError;
    QByteArray body;
    qint64 bytesReceived = 0;   // the reply body as it came, whatever it was
    int statusCode = 0;         // 0 when no reply came
    QString message;            // what went wrong, for diagnostics
    ReplyValidators validators; // what the last reply said of its freshness (a 304's too)
};

// Certificate files are a few hundred kilobytes at most, the system's whole store included.
inline constexpr qint64 kMaxCaFileBytes = 16 * 1024 * 1024;

// Why the file of certificates cannot be handed to libcurl (not a regular file, too large,
// missing), in one line naming it; empty when it can, or when there is none. libcurl would
// wait forever on a pipe, beyond the reach of a cancel.
QString CaFileProblem(const QString& caFile);

// "Orbivist/<version>", followed by the contact in brackets when there is one.
QByteArray OrbivistUserAgent(const QString& contact);

class CurlTransport {
public:
    using Clock = std::chrono::steady_clock;
    // How often the caller's callback runs at least, as the program's own client pumps.
    static constexpr std::chrono::milliseconds kPumpInterval{50};
    // The longest a Retry-After may hold the transfers back.
    static constexpr std::chrono::seconds kLongestPause{600};

    // Requests only for a change that each connection carries at once once its server
    // multiplexes them (HTTP/2): a 304 costs the server a header, and a round trip for each
    // would make a refresh as slow as fetching everything again. Whole tiles stay at one
    // transfer per connection, and the source's rate still paces every request.
    static constexpr int kConditionalStreamsPerConnection = 4;

    // connections: the most connections opened or kept open, and the most transfers at once
    // but for the conditional ones above.
    CurlTransport(int connections, TransportSettings settings);
    ~CurlTransport();
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    using Done = std::function<void(qsizetype index, UrlFetch fetch)>;
    // The copy held of urls[index], asked for only if changed; nothing for a plain request.
    using HeldAt = std::function<std::optional<HeldCopy>(qsizetype index)>;
    // Fetches urls with up to the connections at once and calls done for each as it
    // ends (not in order). keepGoing runs at least every kPumpInterval, also while the server
    // is paused; when it returns false the transfers under way are dropped, the rest are not
    // started and FetchAll returns false. A call made from inside a callback is refused.
    bool FetchAll(const QStringList& urls, const Done& done, const std::function<bool()>& keepGoing,
                  const HeldAt& held = nullptr);

    // The most transfers that may be under way beside the next one, which asks only for a
    // change when conditional.
    int MostAtOnce(bool conditional) const;

private:
    friend class TransferWindow;
    struct Transfer;
    struct MultiDeleter {
        void operator()(void* multi) const;
    };

    std::unique_ptr<Transfer> Start(const QString& url, qsizetype index,
                                    const std::optional<HeldCopy>& held);
    UrlFetch Finish(Transfer& transfer, int curlCode);

    int connections_ = 1;
    bool multiplexes_ = false; // the server answered over HTTP/2 (or later)
    TransportSettings settings_;
    QByteArray userAgent_;
    std::unique_ptr<void, MultiDeleter> multi_;
    Clock::time_point pausedUntil_{};
    TransferPace pace_;
    bool fetching_ = false;
    QString caFileProblem_; // every transfer fails with it rather than hand the file to curl
};
