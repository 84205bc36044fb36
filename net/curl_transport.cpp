// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/curl_transport.h"

#include "net/held_copy_request.h"
#include "orbivist_version.h"
#include "os/input_file.h"

#include <QDateTime>
#include <QScopeGuard>
#include <algorithm>
#include <curl/curl.h>
#include <map>

namespace {

void InitialiseCurlOnce() {
    // Thread-safe once; the library stays initialised for the life of the process.
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

struct HeadersDeleter {
    void operator()(curl_slist* headers) const { curl_slist_free_all(headers); }
};

// How long to wait for the sockets: the pump interval, or less when the pace lets the next
// transfer start sooner.
int PollMilliseconds(CurlTransport::Clock::duration paceWait) {
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(paceWait);
    if (wait <= std::chrono::milliseconds::zero() || wait > CurlTransport::kPumpInterval)
        wait = CurlTransport::kPumpInterval;
    return static_cast<int>(wait.count());
}

bool IsPauseStatus(long status) {
    return status == 429 || status == 503;
}

} // namespace

struct CurlTransport::Transfer {
    std::unique_ptr<curl_slist, HeadersDeleter> headers; // outlives the handle that uses it
    std::unique_ptr<CURL, EasyDeleter> easy;
    qsizetype index = 0;
    QByteArray body;
    qint64 bodyLimit = 0;
    bool tooLarge = false;
    ReplyValidators validators;
    char error[CURL_ERROR_SIZE] = {};
    QByteArray url, proxy, user, password, caFile; // curl keeps pointers to none of them, but
                                                   // they live as long as the transfer anyway

    static size_t Write(char* data, size_t size, size_t count, void* self) {
        auto& t = *static_cast<Transfer*>(self);
        const auto bytes = static_cast<qsizetype>(size * count);
        if (t.body.size() + bytes > t.bodyLimit) {
            t.tooLarge = true;
            return 0; // aborts the transfer
        }
        t.body.append(data, bytes);
        return size * count;
    }

    static size_t Header(char* data, size_t size, size_t count, void* self) {
        TakeValidatorHeader(QByteArrayView(data, static_cast<qsizetype>(size * count)),
                            QDateTime::currentSecsSinceEpoch(),
                            static_cast<Transfer*>(self)->validators);
        return size * count;
    }
};

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

TileFetch CurlTransport::Finish(Transfer& t, int curlCode) {
    TileFetch fetch;
    fetch.bytesReceived = t.body.size();
    fetch.validators = std::move(t.validators);
    pace_.Received(fetch.bytesReceived, Clock::now());
    long status = 0;
    curl_easy_getinfo(t.easy.get(), CURLINFO_RESPONSE_CODE, &status);
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
    fetch.result = TileFetch::Result::Data;
    fetch.body = std::move(t.body);
    return fetch;
}

bool CurlTransport::FetchAll(const QStringList& urls, const Done& done,
                             const std::function<bool()>& keepGoing, const HeldAt& held) {
    if (fetching_ || !multi_)
        return false;
    fetching_ = true;
    CURLM* multi = multi_.get();
    std::map<CURL*, std::unique_ptr<Transfer>> running;
    const auto cleanUp = qScopeGuard([&] {
        for (auto& [easy, transfer] : running)
            curl_multi_remove_handle(multi, easy);
        running.clear();
        fetching_ = false;
    });
    const auto capacity = static_cast<std::size_t>(connections_);
    const bool proxyUnusable = !settings_.proxy.server.isEmpty() && settings_.proxy.port == 0;
    qsizetype next = 0;
    auto lastPump = Clock::now();
    while (next < urls.size() || !running.empty()) {
        while (running.size() < capacity && next < urls.size() && Clock::now() >= pausedUntil_ &&
               pace_.Wait(Clock::now()) == Clock::duration::zero()) {
            pace_.Started(Clock::now());
            const qsizetype index = next++;
            if (settings_.quota && !settings_.quota->Take()) {
                TileFetch refused;
                refused.statusCode = kDailyLimitReached;
                refused.message = QStringLiteral("the daily quota is used up");
                done(index, std::move(refused));
                continue;
            }
            std::unique_ptr<Transfer> t =
                proxyUnusable ? nullptr
                              : Start(urls[index], index, held ? held(index) : std::nullopt);
            if (!t || curl_multi_add_handle(multi, t->easy.get()) != CURLM_OK) {
                TileFetch failed;
                failed.message = proxyUnusable ? QStringLiteral("the proxy port is not set")
                                 : !caFileProblem_.isEmpty()
                                     ? caFileProblem_
                                     : QStringLiteral("the transfer cannot start");
                done(index, std::move(failed));
                continue;
            }
            CURL* easy = t->easy.get();
            running.emplace(easy, std::move(t));
        }
        int stillRunning = 0;
        curl_multi_perform(multi, &stillRunning);
        int queued = 0;
        bool slotFreed = false;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            const auto found = running.find(message->easy_handle);
            if (found == running.end())
                continue;
            std::unique_ptr<Transfer> t = std::move(found->second);
            running.erase(found);
            const CURLcode code = message->data.result; // read before the handle goes away
            curl_multi_remove_handle(multi, t->easy.get());
            done(t->index, Finish(*t, code));
            slotFreed = true;
        }
        if (Clock::now() - lastPump >= kPumpInterval) {
            if (!keepGoing())
                return false;
            lastPump = Clock::now();
        }
        if (next >= urls.size() && running.empty())
            break;
        // A freed slot takes its next tile at once; otherwise wait for the sockets, or idle
        // while the server is paused, but never longer than the pump interval.
        if (!slotFreed || next >= urls.size())
            curl_multi_poll(multi, nullptr, 0, PollMilliseconds(pace_.Wait(Clock::now())), nullptr);
    }
    return true;
}
