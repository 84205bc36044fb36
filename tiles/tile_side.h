// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every tile is a square of this many pixels. A header of its own so that window classes,
// whose headers the meta-object compiler reads, need not include the tile key.
inline constexpr int kTileSide = 256;
