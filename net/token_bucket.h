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
// second, evenly spread, and no new transfer while the bytes received are ahead of
// bytesPerSecond. Zero for either is no limit.
class TransferPace {
public:
    using Clock = TokenBucket::Clock;

    TransferPace(double requestsPerSecond, qint64 bytesPerSecond,
                 Clock::time_point now = Clock::now());

    // How long until the next transfer may start; zero when it may now.
    Clock::duration Wait(Clock::time_point now) const;
    void Started(Clock::time_point now) { requests_.Take(1, now); }
    void Received(qint64 bytes, Clock::time_point now) {
        bytes_.Take(static_cast<double>(bytes), now);
    }

private:
    TokenBucket requests_;
    TokenBucket bytes_;
};
