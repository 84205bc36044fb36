// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Transfers kept under way over one CurlTransport: started one by one as the caller has room
// for them and ended as they come, so that a caller can use each reply while the next ones run.
#include "net/curl_transport.h"

#include <map>

class TransferWindow {
public:
    // The window has the transport's connections to itself while it lives: a FetchAll made
    // meanwhile is refused.
    explicit TransferWindow(CurlTransport& transport);
    ~TransferWindow();
    TransferWindow(const TransferWindow&) = delete;
    TransferWindow& operator=(const TransferWindow&) = delete;

    // False when another window or a FetchAll holds the transport.
    bool usable() const { return owner_; }
    // A connection (or, for a request only for a change, a stream) is free for the next
    // transfer, the server is not paused and the source's pace lets one start.
    bool HasRoom(bool conditional = false) const;
    std::size_t running() const { return running_.size(); }

    // Starts url as transfer id, asking only for a change to held where given. A transfer that
    // cannot start, or that the daily quota refuses, is ended at once through done.
    void Start(const QString& url, qsizetype id, const CurlTransport::Done& done,
               const std::optional<HeldCopy>& held = std::nullopt);
    // Moves the transfers on without waiting and calls done for each that ended (not in
    // order); returns how many did.
    int Pump(const CurlTransport::Done& done);
    // Waits at most wait for a socket of the transfers to be ready, less when the pace lets the
    // next transfer start sooner.
    void Wait(std::chrono::milliseconds wait);
    // Drops transfer id if it is under way; its reply is never given.
    void Drop(qsizetype id);
    void DropAll();

private:
    void* Multi() const; // the transport's curl multi handle

    CurlTransport& transport_;
    bool owner_ = false;
    std::map<void*, std::unique_ptr<CurlTransport::Transfer>> running_; // by curl handle
};
