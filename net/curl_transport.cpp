// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/curl_transport.h"

#include "net/curl_transfer.h"
#include "net/held_copy_request.h"
#include "net/transfer_window.h"
#include "orbivist_version.h"
#include "os/input_file.h"

#include <algorithm>
#include <curl/curl.h>

namespace {

void InitialiseCurlOnce() {
    // Thread-safe once; the library stays initialised for the life of the process.
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

bool IsPauseStatus(long status) {
    return status == 429 || status == 503;
}

} // namespace

void CurlTransport::MultiDeleter::operator()(void* multi) const {
    curl_multi_cleanup(static_cast<CURLM*>(multi));
}

QString CaFileProblem(const QString& caFile) {
    if (caFile.isEmpty())
        return {};
    const InputFile file = CheckInputFile(caFile, kMaxCaFileBytes);
    return file.Read() ? QString()
                       : QStringLiteral("the certificate file %1: %2")
                             .arg(caFile, file.Problem(kMaxCaFileBytes));
}

QByteArray OrbivistUserAgent(const QString& contact) {
    QByteArray agent = QByteArrayLiteral("Orbivist/") + kOrbivistVersion;
    // A contact is one line of text; anything that could end the header is dropped.
    const QString line = contact.simplified();
    if (!line.isEmpty())
        agent += " (+" + line.toUtf8() + ')';
    return agent;
}

CurlTransport::CurlTransport(int connections, TransportSettings settings)
    : connections_(std::max(1, connections)), settings_(std::move(settings)),
      userAgent_(OrbivistUserAgent(settings_.contact)), pace_(settings_.rate, settings_.bandwidth) {
    InitialiseCurlOnce();
    caFileProblem_ = CaFileProblem(settings_.caFile);
    multi_.reset(curl_multi_init());
    if (!multi_)
        return;
    const long most = connections_;
    curl_multi_setopt(multi_.get(), CURLMOPT_MAX_TOTAL_CONNECTIONS, most);
    curl_multi_setopt(multi_.get(), CURLMOPT_MAX_HOST_CONNECTIONS, most);
    curl_multi_setopt(multi_.get(), CURLMOPT_MAXCONNECTS, most);
    curl_multi_setopt(multi_.get(), CURLMOPT_PIPELINING, long{CURLPIPE_MULTIPLEX});
}

CurlTransport::~CurlTransport() = default;

int CurlTransport::MostAtOnce(bool conditional) const {
    return conditional && multiplexes_ ? connections_ * kConditionalStreamsPerConnection
                                       : connections_;
}

std::unique_ptr<CurlTransport::Transfer> CurlTransport::Start(const QString& url, qsizetype index,
                                                              const std::optional<HeldCopy>& held) {
    auto t = std::make_unique<Transfer>();
    t->easy.reset(curl_easy_init());
    if (!t->easy)
        return nullptr;
    t->index = index;
    t->bodyLimit = settings_.limits.bodyLimit;
    t->url = url.toUtf8();
    CURL* e = t->easy.get();
    const auto ms = [](std::chrono::milliseconds m) { return static_cast<long>(m.count()); };
    curl_easy_setopt(e, CURLOPT_URL, t->url.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    // A source asked for over https is never followed into clear text: the tiles and the
    // contact in the User-Agent would travel unprotected. Plain http is taken only where the
    // user wrote it so.
    const bool secure = url.startsWith(QLatin1StringView("https://"), Qt::CaseInsensitive);
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, long{http_request_values::kRequestLimit - 1});
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, userAgent_.constData());
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long{CURL_HTTP_VERSION_2TLS});
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, ms(settings_.limits.connectTimeout));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, ms(settings_.limits.exchangeTimeout));
    // No byte for the read time-out ends the transfer, as the program's own client does.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, ms(settings_.limits.readTimeout) / 1000));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t{settings_.limits.bodyLimit});
    curl_easy_setopt(e, CURLOPT_MAX_RECV_SPEED_LARGE, curl_off_t{settings_.bandwidth});
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Transfer::Write);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Transfer::Header);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t->error);
    curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
    if (held) {
        curl_easy_setopt(e, CURLOPT_TIMECONDITION, long{CURL_TIMECOND_IFMODSINCE});
        curl_easy_setopt(e, CURLOPT_TIMEVALUE_LARGE, curl_off_t{held->modifiedSecs});
    }
    for (const QByteArray& header : ExtraRequestHeaders(held))
        if (curl_slist* list = curl_slist_append(t->headers.get(), header.constData()))
            (void)t->headers.release(), t->headers.reset(list);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headers.get());
    if (!caFileProblem_.isEmpty())
        return nullptr;
    if (!settings_.caFile.isEmpty()) {
        t->caFile = settings_.caFile.toLocal8Bit();
        curl_easy_setopt(e, CURLOPT_CAINFO, t->caFile.constData());
    }
    const ProxySettings& proxy = settings_.proxy;
    if (proxy.server.isEmpty()) {
        // An empty proxy keeps curl from taking one from the environment: the settings decide.
        curl_easy_setopt(e, CURLOPT_PROXY, "");
    } else {
        t->proxy = QStringLiteral("http://%1:%2").arg(proxy.server).arg(proxy.port).toUtf8();
        curl_easy_setopt(e, CURLOPT_PROXY, t->proxy.constData());
        if (!proxy.user.isEmpty()) {
            t->user = proxy.user.toUtf8();
            t->password = proxy.password.toUtf8();
            curl_easy_setopt(e, CURLOPT_PROXYAUTH, long{CURLAUTH_BASIC});
            curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, t->user.constData());
            curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, t->password.constData());
        }
    }
    return t;
}

UrlFetch CurlTransport::Finish(Transfer& t, int curlCode) {
    UrlFetch fetch;
    fetch.bytesReceived = t.body.size();
    fetch.validators = std::move(t.validators);
    pace_.Received(fetch.bytesReceived, Clock::now());
    long status = 0;
    curl_easy_getinfo(t.easy.get(), CURLINFO_RESPONSE_CODE, &status);
    // Streams beyond the connections wait for a connection that multiplexes: libcurl never
    // opens more than the connections.
    long version = CURL_HTTP_VERSION_NONE;
    curl_easy_getinfo(t.easy.get(), CURLINFO_HTTP_VERSION, &version);
    multiplexes_ |= status != 0 && version >= CURL_HTTP_VERSION_2_0;
    // libcurl drops the body of a 200 whose Last-Modified meets the condition: the held copy
    // is the server's, as with a 304.
    long unmet = 0;
    curl_easy_getinfo(t.easy.get(), CURLINFO_CONDITION_UNMET, &unmet);
    if (unmet != 0)
        status = kNotModified;
    fetch.statusCode = static_cast<int>(status);
    if (curlCode != CURLE_OK) {
        fetch.message =
            t.tooLarge ? QStringLiteral("the reply is larger than %1 bytes")
                             .arg(settings_.limits.bodyLimit)
                       : QString::fromUtf8(
                             t.error[0] != '\0' ? t.error : curl_easy_strerror(CURLcode(curlCode)));
        return fetch;
    }
    if (IsPauseStatus(status)) {
        curl_off_t wait = 0;
        curl_easy_getinfo(t.easy.get(), CURLINFO_RETRY_AFTER, &wait);
        if (wait > 0) {
            const auto pause =
                std::min<std::chrono::seconds>(std::chrono::seconds(wait), kLongestPause);
            pausedUntil_ = std::max(pausedUntil_, Clock::now() + pause);
        }
    }
    if (status < 200 || status > 299) {
        fetch.message = QStringLiteral("reply %1").arg(status);
        return fetch;
    }
    fetch.result = UrlFetch::Result::Data;
    fetch.body = std::move(t.body);
    return fetch;
}

bool CurlTransport::FetchAll(const QStringList& urls, const Done& done,
                             const std::function<bool()>& keepGoing, const HeldAt& held) {
    TransferWindow window(*this);
    if (!window.usable())
        return false;
    qsizetype next = 0;
    auto lastPump = Clock::now();
    while (next < urls.size() || window.running() > 0) {
        while (next < urls.size()) {
            const std::optional<HeldCopy> copy = held ? held(next) : std::nullopt;
            if (!window.HasRoom(copy.has_value()))
                break;
            const qsizetype index = next++;
            window.Start(urls[index], index, done, copy);
        }
        const bool slotFreed = window.Pump(done) > 0;
        if (Clock::now() - lastPump >= kPumpInterval) {
            if (!keepGoing())
                return false;
            lastPump = Clock::now();
        }
        if (next >= urls.size() && window.running() == 0)
            break;
        // A freed slot takes its next tile at once; otherwise wait for the sockets, or idle
        // while the server is paused, but never longer than the pump interval.
        if (!slotFreed || next >= urls.size())
            window.Wait(kPumpInterval);
    }
    return true;
}
