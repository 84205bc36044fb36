// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reproducible injection of faulty replies, so clients can be tested against a bad server.
#include <cstdint>
#include <string_view>

namespace tileserver {

enum class Fault {
    None,
    ServerError,       // 500
    NotFound,          // 404 for a tile that exists
    EmptyBody,         // 200 with Content-Length 0
    CutBody,           // 200 with a JPEG body that stops before its FF D9 end
    DroppedConnection, // closed without any reply
    Redirect,          // 302 to the same tile
};

// The word logged as "fault=<word>".
std::string_view FaultName(Fault fault);

// Decides for each tile request in turn whether it is answered badly, and how. The
// decision for the n-th request depends only on the seed and n, never on timing.
class FaultPlan {
public:
    FaultPlan() = default; // injects nothing
    // rate is the share of faulty replies, from 0 to 1.
    FaultPlan(double rate, std::uint64_t seed) : rate_(rate), seed_(seed) {}

    Fault Next() { return FaultFor(sequence_++); }
    Fault FaultFor(std::uint64_t sequence) const;

private:
    double rate_ = 0;
    std::uint64_t seed_ = 0;
    std::uint64_t sequence_ = 0;
};

} // namespace tileserver
