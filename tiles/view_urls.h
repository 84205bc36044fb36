// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four tiles of the 2 by 2 view, as texts.
#include <QString>
#include <array>

// Slot order everywhere: 0 top-left (the anchor), 1 top-right, 2 bottom-right, 3 bottom-left.
// Each slot is the tile's reference as the window holds and the settings file keeps it: the
// request prefix followed by the tile's quadrant letters.
using ViewUrls = std::array<QString, 4>;

// The same four tiles by their quadrant letters alone, without the prefix: what the view's
// moves rewrite.
using ViewLetters = std::array<QString, 4>;
