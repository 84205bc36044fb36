// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tiles of a template source over libcurl, for the loader, the view and the jobs: the same
// one operation as the program's own client, with the source's connections kept alive between
// tiles. A job that says in which order it will ask for tiles gets them read ahead, up to the
// source's connections at once: each transfer that ends makes room for the next at once, and
// the transfers go on while the job uses the tiles already received.
#include "net/curl_transport.h"
#include "net/http_get.h"
#include "net/transfer_window.h"
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

    // The next URLs of upcoming are fetched ahead of the tiles asked for, as many at once as the
    // source allows and at most kTilesAheadPerConnection for each connection held unasked for;
    // nothing is read ahead for a source of one connection.
    void ReadAheadAlong(UrlsAhead upcoming) override;

    // A tile read ahead was asked for as held; otherwise it is fetched now with its held copy.
    std::optional<HttpFailure> GetIfChanged(const QString& url, const HeldCopy& held,
                                            QByteArray& body) override;
    void SetHeldCopies(HeldCopies held) override { heldCopies_ = std::move(held); }
    ReplyValidators LastValidators() const override { return lastValidators_; }
    // Done while the next fetch waits for a reply whose request is out, so the caller's
    // preparation (the cache file made ready) costs none of the transfers' time.
    void WhileReplyIsAwaited(std::function<void()> work) override {
        whileAwaited_ = std::move(work);
    }

    // Called about every CurlTransport::kPumpInterval while tiles are under way, so that the
    // window stays painted; a fetch asked for from it fails at once.
    void SetWhileWaiting(std::function<void()> whileWaiting) {
        whileWaiting_ = std::move(whileWaiting);
    }
    // Asked as often; true fails the fetch at once (the user cancelled).
    void SetStopWaiting(std::function<bool()> stop) { stop_ = std::move(stop); }

private:
    struct Ahead {
        enum class State { Waiting, Running, Ended };
        QString url;
        qsizetype id = 0;
        State state = State::Waiting;
        std::optional<QByteArray> body; // once ended: the tile as the loader would get it;
                                        // none: it failed or was let go of
        bool notModified = false;       // the server said the held copy is still its own
        ReplyValidators validators = {};
        std::optional<std::optional<HeldCopy>> held = std::nullopt; // once asked for: the copy held
    };
    // The transfer of a tile fetched alone, outside the walk.
    static constexpr qsizetype kAlone = -1;

    // Starts the tiles read ahead that wait, then the next ones of the walk, while there is
    // room for them.
    void Fill();
    // Takes the walk on to url, the tiles on the way waiting, or to its end.
    void PullUpTo(const QString& url);
    bool IsAhead(const QString& url) const;
    // Starts what there is room for and takes in what ended, until nothing more ends: a slot
    // that frees takes its next tile at once rather than after the next wait.
    void Refill();
    // Moves the transfers on until the first tile read ahead has ended, doing whileAwaited (and
    // emptying it) once that tile's request is out; false when stopped.
    bool AwaitFirst(std::function<void()>& whileAwaited);
    void Ended(qsizetype id, UrlFetch fetch);
    // Ends reading ahead of what was asked for so far: transfers dropped, tiles let go of.
    void DropAhead();
    void Forget(const Ahead& tile);
    bool KeepGoing();
    std::optional<HttpFailure> FetchOne(const QString& url, QByteArray& body,
                                        const std::optional<HeldCopy>& held,
                                        std::function<void()>& whileAwaited);
    // Get, asking only for a change where held is given.
    std::optional<HttpFailure> Obtain(const QString& url, const std::optional<HeldCopy>& held,
                                      QByteArray& body);
    // The body the loader gets for a fetch: none for a failure.
    std::optional<QByteArray> BodyOf(UrlFetch& fetch) const;

    CurlTransport transport_;
    TransferWindow transfers_{transport_};
    int aheadLimit_ = 1; // tiles read ahead at once, ended or not
    UrlsAhead upcoming_;
    std::deque<Ahead> ahead_; // in the walk's order, not yet asked for
    qsizetype nextId_ = 0;
    qint64 held_ = 0;    // bytes of the tiles ahead that ended
    qint64 largest_ = 0; // bytes of the largest tile so far
    std::optional<UrlFetch> alone_;
    const CurlTransport::Done ended_ = [this](qsizetype id, UrlFetch fetch) {
        Ended(id, std::move(fetch));
    };
    QString lastAsked_;
    bool busy_ = false; // a fetch is under way: one asked for meanwhile fails at once
    std::function<void()> whileWaiting_;
    std::function<bool()> stop_;
    std::function<void()> whileAwaited_; // for the next fetch
    HeldCopies heldCopies_;
    ReplyValidators lastValidators_;
};
