// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/fault_plan.h"

#include <array>

namespace tileserver {

namespace {

// SplitMix64's finaliser: spreads neighbouring inputs over the whole 64-bit range. Written
// out here so the sequence is the same with every standard library.
std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

constexpr std::array kFaultKinds{Fault::ServerError, Fault::NotFound,          Fault::EmptyBody,
                                 Fault::CutBody,     Fault::DroppedConnection, Fault::Redirect};

} // namespace

std::string_view FaultName(Fault fault) {
    switch (fault) {
    case Fault::None:
        return "none";
    case Fault::ServerError:
        return "500";
    case Fault::NotFound:
        return "404";
    case Fault::EmptyBody:
        return "empty";
    case Fault::CutBody:
        return "cut";
    case Fault::DroppedConnection:
        return "drop";
    case Fault::Redirect:
        return "redirect";
    }
    return "unknown";
}

Fault FaultPlan::FaultFor(std::uint64_t sequence) const {
    const std::uint64_t draw = Mix(seed_ + Mix(sequence + 0x9e3779b97f4a7c15ULL));
    const double share = static_cast<double>(draw >> 11) * 0x1p-53; // uniform in [0, 1)
    if (!(share < rate_))
        return Fault::None;
    return kFaultKinds[Mix(draw) % kFaultKinds.size()];
}

} // namespace tileserver
