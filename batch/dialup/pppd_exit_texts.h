// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a dial through pppd failed, in words for the user: pppd's documented exit statuses,
// and codes of our own for what goes wrong before pppd can tell.
#include <QString>
#include <cstdint>

// Above every exit status pppd uses (0 to 19).
inline constexpr std::uint32_t kPppdNoSuchPeer = 1001;
inline constexpr std::uint32_t kPppdCannotStart = 1002;
inline constexpr std::uint32_t kPppdCrashed = 1003;
inline constexpr std::uint32_t kPppdCannotPassPassword = 1004;
inline constexpr std::uint32_t kPppdCancelled = 1005;

// A code nobody documents gets a general text that names it.
QString PppdErrorText(std::uint32_t code);
