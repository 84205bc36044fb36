// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/curl_http_get.h"

#include <algorithm>

// A PNG source's tiles stay PNG: the loader checks and decodes either kind.
std::optional<QByteArray> CurlHttpGet::BodyOf(TileFetch& fetch) const {
    if (fetch.result != TileFetch::Result::Data)
        return std::nullopt;
    return std::move(fetch.body);
}

namespace {
TransportSettings WithPaceOf(const SourceDefinition& source, TransportSettings settings) {
    settings.rate = source.rate;
    settings.bandwidth = source.bandwidth;
    return settings;
}
} // namespace

CurlHttpGet::CurlHttpGet(const SourceDefinition& source, TransportSettings settings)
    : transport_(source.connections, WithPaceOf(source, std::move(settings))),
      window_(std::max(1, source.connections) * kTilesAheadPerConnection) {
    if (source.connections <= 1)
        window_ = 1;
}

bool CurlHttpGet::KeepGoing() {
    if (whileWaiting_)
        whileWaiting_();
    return !(stop_ && stop_());
}

void CurlHttpGet::Follow(UpcomingUrls upcoming) {
    ahead_.clear();
    lastAsked_.clear();
    upcoming_ = window_ > 1 ? std::move(upcoming) : nullptr;
}

bool CurlHttpGet::ReadAhead() {
    QStringList urls;
    // A long run of cached tiles is not looked through in one go: the window is not pumped
    // meanwhile, and the job passes them by quickly anyway.
    constexpr int kMostTilesLookedAt = 4096;
    for (int looked = 0; upcoming_ && urls.size() < window_ && looked < kMostTilesLookedAt;
         ++looked) {
        const std::optional<QString> url = upcoming_();
        if (!url) {
            upcoming_ = nullptr;
            break;
        }
        if (!url->isEmpty())
            urls << *url;
    }
    const auto first = static_cast<qsizetype>(ahead_.size());
    for (const QString& url : urls)
        ahead_.push_back(Ahead{url, std::nullopt});
    qint64 held = 0;
    return transport_.FetchAll(
        urls,
        [this, first, &held](qsizetype index, TileFetch fetch) {
            std::optional<QByteArray> body = BodyOf(fetch);
            // Past the budget a tile is let go of; it is fetched again when asked for.
            if (body && held + body->size() > kMostBytesAhead)
                body.reset();
            held += body ? body->size() : 0;
            Ahead& tile = ahead_[static_cast<std::size_t>(first + index)];
            tile.notModified = fetch.statusCode == kNotModified;
            tile.validators = std::move(fetch.validators);
            tile.body = std::move(body);
        },
        [this] { return KeepGoing(); },
        [this, &urls](qsizetype index) {
            return held_ ? held_(urls[index]) : std::optional<HeldCopy>();
        });
}

std::optional<HttpFailure> CurlHttpGet::Get(const QString& url, QByteArray& body) {
    return Obtain(url, std::nullopt, body);
}

std::optional<HttpFailure> CurlHttpGet::GetIfChanged(const QString& url, const HeldCopy& held,
                                                     QByteArray& body) {
    return Obtain(url, held, body);
}

std::optional<HttpFailure>
CurlHttpGet::Obtain(const QString& url, const std::optional<HeldCopy>& held, QByteArray& body) {
    body.clear();
    lastValidators_ = {};
    const auto find = [&] {
        return std::find_if(ahead_.begin(), ahead_.end(),
                            [&](const Ahead& tile) { return tile.url == url; });
    };
    auto found = find();
    // Asked again, a tile is retried alone; any other tile not read ahead is the walk going
    // on, past what is left of the last tiles read ahead.
    const bool retry = url == lastAsked_;
    lastAsked_ = url;
    if (found == ahead_.end() && !retry && upcoming_) {
        ahead_.clear();
        if (!ReadAhead())
            return HttpFailure{0, {}, QStringLiteral("the fetch was stopped")};
        found = find();
    }
    if (found != ahead_.end()) {
        const bool fetched = found->body.has_value();
        const bool notModified = found->notModified;
        lastValidators_ = std::move(found->validators);
        if (fetched)
            body = std::move(*found->body);
        // Tiles the caller passed by were taken from the cache after all.
        ahead_.erase(ahead_.begin(), found + 1);
        if (notModified)
            return HttpFailure{kNotModified, {}, QStringLiteral("not modified")};
        if (fetched)
            return std::nullopt;
    }
    return FetchOne(url, body, held);
}

std::optional<HttpFailure> CurlHttpGet::FetchOne(const QString& url, QByteArray& body,
                                                 const std::optional<HeldCopy>& held) {
    std::optional<TileFetch> got;
    const bool finished = transport_.FetchAll(
        {url}, [&got](qsizetype, TileFetch fetch) { got = std::move(fetch); },
        [this] { return KeepGoing(); }, [&held](qsizetype) { return held; });
    if (!finished || !got)
        return HttpFailure{0, {}, QStringLiteral("the fetch was stopped")};
    lastValidators_ = std::move(got->validators);
    if (std::optional<QByteArray> tile = BodyOf(*got)) {
        body = std::move(*tile);
        return std::nullopt;
    }
    return HttpFailure{got->statusCode, {}, got->message};
}
