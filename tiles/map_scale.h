// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scale bar of the map: the ground a pixel spans at a latitude and level, and the round
// length a bar of at most so many pixels stands for.

// Metres of ground along the parallel that one pixel of a tile of the level spans there.
double MetresPerPixel(double latitude, int level);

struct ScaleBar {
    double metres = 0; // 1, 2 or 5 times a power of ten
    int pixels = 0;    // its length on screen, at most the length allowed
};

// The longest round length whose bar fits in maxPixels; no bar (0 metres) when even a metre
// would not fit, or at a pole.
ScaleBar ScaleBarFor(double latitude, int level, int maxPixels);
