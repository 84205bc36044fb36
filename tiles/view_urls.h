// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four tile references of the 2 by 2 view.
#include <QString>
#include <array>

// Slot order everywhere: 0 top-left (the anchor), 1 top-right, 2 bottom-right, 3 bottom-left.
using ViewUrls = std::array<QString, 4>;
