// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The network of a batch command, telling afterwards why its fetches failed: each failure
// said in words a person understands, and which was the commonest.
#include "net/http_get.h"

#include <QString>
#include <map>

// One failed fetch of url in words, in the run's language: "connection refused 127.0.0.1:47321",
// "certificate not trusted: ...", "the server replied 404 Not Found (tiles.example.org)". Empty
// for a fetch that a cancel ended, which is no fault of the network.
QString FailureInWords(const QString& url, const HttpFailure& failure);

class FailureTally final : public HttpGet {
public:
    explicit FailureTally(HttpGet& network) : network_(network) {}

    std::optional<HttpFailure> Get(const QString& url, QByteArray& body) override;
    void ShareSilentWait(bool on) override { network_.ShareSilentWait(on); }
    void WhileReplyIsAwaited(std::function<void()> work) override {
        network_.WhileReplyIsAwaited(std::move(work));
    }
    void ReadAheadAlong(UrlsAhead upcoming) override {
        network_.ReadAheadAlong(std::move(upcoming));
    }
    std::optional<HttpFailure> GetIfChanged(const QString& url, const HeldCopy& held,
                                            QByteArray& body) override;
    void SetHeldCopies(HeldCopies held) override { network_.SetHeldCopies(std::move(held)); }
    ReplyValidators LastValidators() const override { return network_.LastValidators(); }

    // "connection refused 127.0.0.1:47321 (4 of 4 failed fetches)", or empty when no fetch
    // failed.
    QString Commonest() const;

private:
    std::optional<HttpFailure> Tallied(const QString& url, std::optional<HttpFailure> failure);

    HttpGet& network_;
    std::map<QString, int> failures_; // by the words that say them
    int total_ = 0;
};
