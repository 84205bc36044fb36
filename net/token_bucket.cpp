// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/token_bucket.h"

#include <algorithm>
#include <cmath>

TokenBucket::TokenBucket(double perSecond, double burst, Clock::time_point now)
    : perSecond_(perSecond), burst_(std::max(burst, 0.0)), tokens_(burst_), at_(now) {}

double TokenBucket::Level(Clock::time_point now) const {
    const double seconds =
        std::chrono::duration<double>(std::max(now - at_, Clock::duration{})).count();
    return std::min(burst_, tokens_ + seconds * perSecond_);
}

TokenBucket::Clock::duration TokenBucket::Wait(double needed, Clock::time_point now) const {
    if (!Limited())
        return {};
    const double missing = std::min(needed, burst_) - Level(now);
    if (missing <= 0)
        return {};
    // Rounded up, so that a wait of that length always finds the tokens there.
    return std::chrono::ceil<Clock::duration>(std::chrono::duration<double>(missing / perSecond_));
}

void TokenBucket::Take(double cost, Clock::time_point now) {
    if (!Limited())
        return;
    tokens_ = Level(now) - cost;
    at_ = now;
}

TransferPace::TransferPace(double requestsPerSecond, qint64 bytesPerSecond, Clock::time_point now)
    // One request in the bucket: requests are spread evenly, never bunched after a pause. No
    // bytes are held in advance: a transfer starts once the bytes before it are paid for, those
    // under way counted at the average so far, and no second sees more than its share and one
    // tile.
    : requests_(requestsPerSecond, 1, now), bytes_(static_cast<double>(bytesPerSecond), 0, now) {}

TransferPace::Clock::duration TransferPace::Wait(Clock::time_point now) const {
    if (bytes_.Limited() && ended_ == 0 && running_ > 0)
        return kFirstTransferWait;
    // A byte debt is paid back in full before the next transfer starts.
    return std::max(requests_.Wait(1, now), bytes_.Wait(0, now));
}

void TransferPace::Started(Clock::time_point now) {
    requests_.Take(1, now);
    const double charge = ended_ > 0 ? endedBytes_ / static_cast<double>(ended_) : 0;
    bytes_.Take(charge, now);
    charged_ += charge;
    ++running_;
}

double TransferPace::Release() {
    // The transfers under way share what they were charged.
    const double charge = running_ > 0 ? charged_ / running_ : 0;
    charged_ -= charge;
    running_ = std::max(0, running_ - 1);
    return charge;
}

void TransferPace::Received(qint64 bytes, Clock::time_point now) {
    bytes_.Take(static_cast<double>(bytes) - Release(), now);
    ++ended_;
    endedBytes_ += static_cast<double>(bytes);
}

void TransferPace::Dropped(qint64 bytes, Clock::time_point now) {
    bytes_.Take(static_cast<double>(bytes) - Release(), now);
}
