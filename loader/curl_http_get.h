// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles of a template source over libcurl, for the loader, the view and the jobs: the same
// one operation as the program's own client, with the source's connections kept alive between
// tiles. A job that says in which order it will ask for tiles gets them read ahead, up to the
// source's connections at once.
#include "net/curl_transport.h"
#include "net/http_get.h"
#include "sources/source_definition.h"

#include <deque>
#include <functional>

class CurlHttpGet final : public HttpGet {
public:
    // How many tiles are read ahead at once for each connection the source allows: enough that
    // the wait for the last of them is short beside the time to fetch them all.
    static constexpr int kTilesAheadPerConnection = 8;
    // The most bytes of tiles read ahead held at once, however large the tiles: many times what
    // real tiles take, far below what 16 connections of 8 tiles as large as the cache allows
    // would.
    static constexpr qint64 kMostBytesAhead = 32 * 1024 * 1024;

    CurlHttpGet(const SourceDefinition& source, TransportSettings settings);

    // A tile's body comes back as the server sent it, JPEG or PNG, for the loader to check. A 429
    // or 503 with Retry-After fails the tile and holds the next request back. A tile read ahead is
    // answered from memory; one that the read-ahead could not get is fetched now, so its
    // failure is the caller's to count, as any other.
    std::optional<HttpFailure> Get(const QString& url, QByteArray& body) override;

    // When a tile asked for is not read ahead yet, the next URLs of upcoming are fetched with
    // it, as many at once as the source allows; nothing is read ahead for a source of one
    // connection.
    void Follow(UpcomingUrls upcoming) override;

    // A tile read ahead was asked for as held; otherwise it is fetched now with its held copy.
    std::optional<HttpFailure> GetIfChanged(const QString& url, const HeldCopy& held,
                                            QByteArray& body) override;
    void SetHeldCopies(HeldCopies held) override { held_ = std::move(held); }
    ReplyValidators LastValidators() const override { return lastValidators_; }

    // Called about every CurlTransport::kPumpInterval while tiles are under way, so that the
    // window stays painted; a fetch asked for from it fails at once.
    void SetWhileWaiting(std::function<void()> whileWaiting) {
        whileWaiting_ = std::move(whileWaiting);
    }
    // Asked as often; true fails the fetch at once (the user cancelled).
    void SetStopWaiting(std::function<bool()> stop) { stop_ = std::move(stop); }

private:
    struct Ahead {
        QString url;
        std::optional<QByteArray> body; // the tile as the loader would get it; none: failed
        bool notModified = false;       // the server said the held copy is still its own
        ReplyValidators validators = {};
    };

    // Pulls the next tiles of the walk and fetches them all; false when stopped.
    bool ReadAhead();
    bool KeepGoing();
    std::optional<HttpFailure> FetchOne(const QString& url, QByteArray& body,
                                        const std::optional<HeldCopy>& held = std::nullopt);
    // Get, asking only for a change where held is given.
    std::optional<HttpFailure> Obtain(const QString& url, const std::optional<HeldCopy>& held,
                                      QByteArray& body);
    // The body the loader gets for a fetch: none for a failure.
    std::optional<QByteArray> BodyOf(TileFetch& fetch) const;

    CurlTransport transport_;
    int window_ = 1; // tiles read ahead at once
    UpcomingUrls upcoming_;
    std::deque<Ahead> ahead_; // in the walk's order, not yet asked for
    QString lastAsked_;
    std::function<void()> whileWaiting_;
    std::function<bool()> stop_;
    HeldCopies held_;
    ReplyValidators lastValidators_;
};
