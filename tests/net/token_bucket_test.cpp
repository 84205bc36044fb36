// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/token_bucket.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Clock = TransferPace::Clock;
using std::chrono::milliseconds;

// Starts a transfer of tileBytes whenever the pace lets one start and fewer than atOnce are
// under way, each taking latency, over seconds of simulated time in steps of 1 ms; gives when
// each started.
std::vector<milliseconds> Starts(double rate, qint64 bandwidth, qint64 tileBytes, int seconds,
                                 std::size_t atOnce = 1, milliseconds latency = {}) {
    const Clock::time_point begin{};
    TransferPace pace(rate, bandwidth, begin);
    std::vector<milliseconds> starts;
    std::deque<milliseconds> ends;
    for (milliseconds t{0}; t < std::chrono::seconds(seconds); ++t) {
        for (; !ends.empty() && ends.front() <= t; ends.pop_front())
            pace.Received(tileBytes, begin + t);
        if (ends.size() >= atOnce || pace.Wait(begin + t) != Clock::duration::zero())
            continue;
        pace.Started(begin + t);
        starts.push_back(t);
        ends.push_back(t + latency);
        if (latency == milliseconds::zero())
            for (; !ends.empty(); ends.pop_front())
                pace.Received(tileBytes, begin + t);
    }
    return starts;
}

// The most starts in any window of one second.
std::size_t MostInASecond(const std::vector<milliseconds>& starts) {
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; last < starts.size(); ++last) {
        while (starts[last] - starts[first] >= std::chrono::seconds(1))
            ++first;
        most = std::max(most, last - first + 1);
    }
    return most;
}

} // namespace

TEST(TransferPace, KeepsToTheRateAndTheBandwidthInAnySecond) {
    const struct {
        double rate;
        qint64 bandwidth, tileBytes;
        std::size_t perSecond; // the most starts any second sees
        std::size_t total;     // over 4 seconds
        std::size_t atOnce = 1;
        milliseconds latency{};
    } cases[] = {
        {5, 0, 20'000, 5, 20},
        {0.5, 0, 20'000, 1, 2},
        {1000, 0, 1, 1000, 4000},
        // 50 kB a second of 20 kB tiles: one tile each 0.4 s.
        {0, 50'000, 20'000, 3, 10},
        {8, 40'000, 10'000, 4, 16},  // the bandwidth is the tighter
        {8, 400'000, 10'000, 8, 32}, // the rate is
        {0, 0, 20'000, 1000, 4000},  // no limit: every step
        // Four under way 100 ms each: those started count before they end, the first alone.
        {1000, 50'000, 20'000, 3, 10, 4, milliseconds(100)},
        {0, 0, 20'000, 40, 160, 4, milliseconds(100)},
    };
    for (const auto& c : cases) {
        const std::vector<milliseconds> starts =
            Starts(c.rate, c.bandwidth, c.tileBytes, 4, c.atOnce, c.latency);
        EXPECT_LE(MostInASecond(starts), c.perSecond) << c.rate << ' ' << c.bandwidth;
        EXPECT_NEAR(static_cast<double>(starts.size()), static_cast<double>(c.total), 1)
            << c.rate << ' ' << c.bandwidth;
    }
}
