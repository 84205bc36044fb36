#include "fetch/curl_http_get.h"

#include <QFileInfo>
#include <algorithm>

namespace {

// The body the loader gets for a fetch: a failure has none, and a bad PNG a body the loader
// counts as a bad file. The byte added keeps even a JPEG that a PNG source sent from passing
// for a tile, since the loader wants a JPEG end.
std::optional<QByteArray> BodyOf(TileFetch& fetch) {
    switch (fetch.result) {
    case TileFetch::Result::Data:
        return std::move(fetch.body);
    case TileFetch::Result::BadFile:
        return std::move(fetch.body) + '\0';
    case TileFetch::Result::ReceiveError:
        break;
    }
    return std::nullopt;
}

} // namespace

CurlHttpGet::CurlHttpGet(const SourceDefinition& source, TransportSettings settings)
    : transport_(source, std::move(settings)),
      window_(std::max(1, source.connections) * kTilesAheadPerConnection) {
    if (source.connections <= 1)
        window_ = 1;
}

bool CurlHttpGet::KeepGoing() {
    if (whileWaiting_)
        whileWaiting_();
    return !(stop_ && stop_());
}

void CurlHttpGet::Follow(UpcomingTiles upcoming, WorkMode mode) {
    ahead_.clear();
    lastAsked_.clear();
    mode_ = mode;
    upcoming_ = window_ > 1 && mode != WorkMode::CacheOnly ? std::move(upcoming) : nullptr;
}

bool CurlHttpGet::ReadAhead() {
    QStringList urls;
    // A long run of cached tiles is not looked through in one go: the window is not pumped
    // meanwhile, and the job passes them by quickly anyway.
    constexpr int kMostTilesLookedAt = 4096;
    for (int looked = 0; upcoming_ && urls.size() < window_ && looked < kMostTilesLookedAt;
         ++looked) {
        const std::optional<TileRequest> tile = upcoming_();
        if (!tile) {
            upcoming_ = nullptr;
            break;
        }
        // The loader takes a cached tile without asking, so it is never read ahead.
        if (!tile->cacheFile ||
            (mode_ != WorkMode::InternetOnly && QFileInfo::exists(*tile->cacheFile)))
            continue;
        urls << tile->url;
    }
    const auto first = static_cast<qsizetype>(ahead_.size());
    for (const QString& url : urls)
        ahead_.push_back(Ahead{url, std::nullopt});
    return transport_.FetchAll(
        urls,
        [this, first](qsizetype index, TileFetch fetch) {
            ahead_[static_cast<std::size_t>(first + index)].body = BodyOf(fetch);
        },
        [this] { return KeepGoing(); });
}

std::optional<HttpFailure> CurlHttpGet::Get(const QString& url, QByteArray& body) {
    body.clear();
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
        if (fetched)
            body = std::move(*found->body);
        // Tiles the caller passed by were taken from the cache after all.
        ahead_.erase(ahead_.begin(), found + 1);
        if (fetched)
            return std::nullopt;
    }
    return FetchOne(url, body);
}

std::optional<HttpFailure> CurlHttpGet::FetchOne(const QString& url, QByteArray& body) {
    std::optional<TileFetch> got;
    const bool finished = transport_.FetchAll(
        {url}, [&got](qsizetype, TileFetch fetch) { got = std::move(fetch); },
        [this] { return KeepGoing(); });
    if (!finished || !got)
        return HttpFailure{0, {}, QStringLiteral("the fetch was stopped")};
    if (std::optional<QByteArray> tile = BodyOf(*got)) {
        body = std::move(*tile);
        return std::nullopt;
    }
    return HttpFailure{got->statusCode, {}, got->message};
}
