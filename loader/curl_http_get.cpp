// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/curl_http_get.h"

#include <QScopeGuard>
#include <algorithm>
#include <utility>

namespace {

HttpFailure Stopped() {
    return HttpFailure{0, {}, QStringLiteral("the fetch was stopped")};
}

TransportSettings WithPaceOf(const SourceDefinition& source, TransportSettings settings) {
    settings.rate = source.rate;
    settings.bandwidth = source.bandwidth;
    return settings;
}

} // namespace

// A PNG source's tiles stay PNG: the loader checks and decodes either kind.
std::optional<QByteArray> CurlHttpGet::BodyOf(UrlFetch& fetch) const {
    if (fetch.result != UrlFetch::Result::Data)
        return std::nullopt;
    return std::move(fetch.body);
}

CurlHttpGet::CurlHttpGet(const SourceDefinition& source, TransportSettings settings)
    : transport_(source.connections, WithPaceOf(source, std::move(settings))),
      aheadLimit_(std::max(1, source.connections) * kTilesAheadPerConnection) {
    if (source.connections <= 1)
        aheadLimit_ = 1;
}

bool CurlHttpGet::KeepGoing() {
    if (whileWaiting_)
        whileWaiting_();
    return !(stop_ && stop_());
}

void CurlHttpGet::ReadAheadAlong(UrlsAhead upcoming) {
    // Tiles under way stay: a walk taken up again goes on with them rather than asking the
    // server twice. They are let go of once the caller passes them by.
    if (!upcoming)
        DropAhead();
    lastAsked_.clear();
    upcoming_ = aheadLimit_ > 1 ? std::move(upcoming) : nullptr;
}

void CurlHttpGet::Forget(const Ahead& tile) {
    if (tile.state == Ahead::State::Running)
        transfers_.Drop(tile.id);
    held_ -= tile.body ? tile.body->size() : 0;
}

void CurlHttpGet::DropAhead() {
    for (const Ahead& tile : ahead_)
        Forget(tile);
    ahead_.clear();
    held_ = 0;
}

void CurlHttpGet::Ended(qsizetype id, UrlFetch fetch) {
    if (id == kAlone) {
        alone_ = std::move(fetch);
        return;
    }
    const auto tile = std::find_if(ahead_.begin(), ahead_.end(),
                                   [id](const Ahead& ahead) { return ahead.id == id; });
    if (tile == ahead_.end())
        return;
    tile->state = Ahead::State::Ended;
    tile->notModified = fetch.statusCode == kNotModified;
    tile->validators = std::move(fetch.validators);
    tile->body = BodyOf(fetch);
    largest_ = std::max<qint64>(largest_, tile->body ? tile->body->size() : 0);
    // Past the budget a tile is let go of; it is fetched again when asked for.
    if (tile->body && held_ + tile->body->size() > kMostBytesAhead)
        tile->body.reset();
    held_ += tile->body ? tile->body->size() : 0;
}

namespace {
// A long run of cached tiles is not looked through in one go: the window is not pumped
// meanwhile, and the job passes them by quickly anyway.
constexpr int kMostTilesLookedAt = 4096;
} // namespace

bool CurlHttpGet::IsAhead(const QString& url) const {
    return std::any_of(ahead_.begin(), ahead_.end(),
                       [&](const Ahead& tile) { return tile.url == url; });
}

void CurlHttpGet::PullUpTo(const QString& url) {
    for (int looked = 0; upcoming_ && looked < kMostTilesLookedAt; ++looked) {
        const std::optional<QString> next = upcoming_();
        if (!next) {
            upcoming_ = nullptr;
            return;
        }
        if (next->isEmpty())
            continue;
        if (!IsAhead(*next))
            ahead_.push_back(Ahead{*next, nextId_++, Ahead::State::Waiting, std::nullopt});
        if (*next == url)
            return;
    }
}

void CurlHttpGet::Fill() {
    int looked = 0;
    // Room for a conditional request at least; the tile's own kind decides below.
    while (transfers_.HasRoom(true)) {
        auto waiting = std::find_if(ahead_.begin(), ahead_.end(), [](const Ahead& tile) {
            return tile.state == Ahead::State::Waiting;
        });
        if (waiting == ahead_.end()) {
            // Room for one more tile as large as the largest so far, besides those under way:
            // the tiles ahead stay within the budget without fetching any twice.
            const qint64 coming = largest_ * static_cast<qint64>(transfers_.running() + 1);
            if (!upcoming_ || std::ssize(ahead_) >= aheadLimit_ ||
                held_ + coming > kMostBytesAhead || looked >= kMostTilesLookedAt)
                return;
            ++looked;
            const std::optional<QString> url = upcoming_();
            if (!url) {
                upcoming_ = nullptr;
                return;
            }
            if (url->isEmpty() || IsAhead(*url))
                continue;
            ahead_.push_back(Ahead{*url, nextId_++, Ahead::State::Waiting, std::nullopt});
            waiting = std::prev(ahead_.end());
        }
        if (!waiting->held) // the held copies are given once
            waiting->held = heldCopies_ ? heldCopies_(waiting->url) : std::nullopt;
        if (!transfers_.HasRoom(waiting->held->has_value()))
            return;
        waiting->state = Ahead::State::Running;
        transfers_.Start(waiting->url, waiting->id, ended_, *waiting->held);
    }
}

void CurlHttpGet::Refill() {
    do
        Fill();
    while (transfers_.Pump(ended_) > 0);
}

bool CurlHttpGet::AwaitFirst(std::function<void()>& whileAwaited) {
    auto lastPump = CurlTransport::Clock::now();
    for (;;) {
        Refill();
        if (ahead_.empty()) // the walk was changed meanwhile
            return false;
        if (ahead_.front().state == Ahead::State::Ended)
            return true;
        if (CurlTransport::Clock::now() - lastPump >= CurlTransport::kPumpInterval) {
            if (!KeepGoing()) {
                DropAhead();
                return false;
            }
            lastPump = CurlTransport::Clock::now();
        }
        // The caller's work fills the wait for the tile's reply, once its request is out.
        if (whileAwaited && ahead_.front().state == Ahead::State::Running) {
            std::exchange(whileAwaited, nullptr)();
            continue;
        }
        // Wait for the sockets, or idle while the server is paused, but never longer than the
        // pump interval.
        transfers_.Wait(CurlTransport::kPumpInterval);
    }
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
    std::function<void()> whileAwaited = std::exchange(whileAwaited_, nullptr);
    if (busy_ || !transfers_.usable())
        return Stopped();
    busy_ = true;
    const auto done = qScopeGuard([this] { busy_ = false; });
    const auto find = [&] {
        return std::find_if(ahead_.begin(), ahead_.end(),
                            [&](const Ahead& tile) { return tile.url == url; });
    };
    auto found = find();
    // Asked again, a tile is retried alone; any other tile not read ahead is the walk going
    // on, past what is left of the tiles read ahead.
    const bool retry = url == lastAsked_;
    lastAsked_ = url;
    if (found == ahead_.end() && !retry && upcoming_) {
        // The walk may be behind the caller where the pace or the connections held it back:
        // the tiles it passes on the way are not fetched, the one asked for is, once.
        PullUpTo(url);
        Fill();
        found = find();
    }
    if (found != ahead_.end()) {
        // Tiles the caller passed by were taken from the cache after all.
        std::for_each(ahead_.begin(), found, [this](const Ahead& tile) { Forget(tile); });
        ahead_.erase(ahead_.begin(), found);
        if (!AwaitFirst(whileAwaited))
            return Stopped();
        Ahead tile = std::move(ahead_.front());
        ahead_.pop_front();
        held_ -= tile.body ? tile.body->size() : 0;
        // The freed room takes the next tiles, and their requests leave now, while the caller
        // uses this one.
        Refill();
        lastValidators_ = std::move(tile.validators);
        if (tile.notModified)
            return HttpFailure{kNotModified, {}, QStringLiteral("not modified")};
        if (tile.body) {
            body = std::move(*tile.body);
            return std::nullopt;
        }
    }
    return FetchOne(url, body, held, whileAwaited);
}

std::optional<HttpFailure> CurlHttpGet::FetchOne(const QString& url, QByteArray& body,
                                                 const std::optional<HeldCopy>& held,
                                                 std::function<void()>& whileAwaited) {
    alone_.reset();
    bool started = false;
    auto lastPump = CurlTransport::Clock::now();
    while (!alone_) {
        // It waits for a free connection and for the end of a pause the server asked for, as
        // the tiles of the walk do.
        if (!started && transfers_.HasRoom(held.has_value())) {
            transfers_.Start(url, kAlone, ended_, held);
            started = true;
        }
        transfers_.Pump(ended_);
        if (alone_)
            break;
        if (CurlTransport::Clock::now() - lastPump >= CurlTransport::kPumpInterval) {
            if (!KeepGoing()) {
                transfers_.Drop(kAlone);
                return Stopped();
            }
            lastPump = CurlTransport::Clock::now();
        }
        if (started && whileAwaited) {
            std::exchange(whileAwaited, nullptr)();
            continue;
        }
        transfers_.Wait(CurlTransport::kPumpInterval);
    }
    UrlFetch got = std::move(*alone_);
    alone_.reset();
    lastValidators_ = std::move(got.validators);
    if (std::optional<QByteArray> tile = BodyOf(got)) {
        body = std::move(*tile);
        return std::nullopt;
    }
    return HttpFailure{got.statusCode, {}, got.message};
}
