// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping to a provider's pace: a token bucket for requests per second and one for bytes per
// second, asked before each transfer starts. Time is passed in, so that the pace can be
// checked without waiting for it.
#include <QtGlobal>
#include <chrono>

class TokenBucket {
public:
    using Clock = std::chrono::steady_clock;

    // perSecond tokens come back each second, up to burst held at once; starts full. A
    // perSecond of 0 or less is no limit.
    TokenBucket(double perSecond, double burst, Clock::time_point now = Clock::now());

    bool Limited() const { return perSecond_ > 0; }
    // How long until the bucket holds at least needed tokens; zero when it does now.
    Clock::duration Wait(double needed, Clock::time_point now) const;
    // Takes cost tokens; the bucket may go into debt, which the next waits pay back.
    void Take(double cost, Clock::time_point now);

private:
    double Level(Clock::time_point now) const;

    double perSecond_ = 0;
    double burst_ = 0;
    double tokens_ = 0;
    Clock::time_point at_; // when tokens_ was right
};

// The pace of one source's transfers: at most requestsPerSecond transfers started in any
// second, evenly spread, and no new transfer while the bytes of those started are ahead of
// bytesPerSecond. Zero for either is no limit.
class TransferPace {
public:
    using Clock = TokenBucket::Clock;
    // While the bytes are limited and no transfer has ended, how long to wait before asking
    // again: the first transfer's size is not known, so it goes alone.
    static constexpr std::chrono::milliseconds kFirstTransferWait{50};

    TransferPace(double requestsPerSecond, qint64 bytesPerSecond,
                 Clock::time_point now = Clock::now());

    // How long until the next transfer may start; zero when it may now.
    Clock::duration Wait(Clock::time_point now) const;
    // A transfer started: it is charged the bytes a transfer brought so far on average, so
    // that transfers under way together stay within the bandwidth.
    void Started(Clock::time_point now);
    // A transfer started ended with bytes received.
    void Received(qint64 bytes, Clock::time_point now);
    // A transfer started was let go of, or never went out, after bytes: they count against the
    // bandwidth but say nothing of a transfer's size.
    void Dropped(qint64 bytes, Clock::time_point now);

private:
    // What the transfer ending was charged.
    double Release();

    TokenBucket requests_;
    TokenBucket bytes_;
    int running_ = 0;
    double charged_ = 0; // bytes charged to the transfers under way
    qint64 ended_ = 0;
    double endedBytes_ = 0;
};
