// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/map_scale.h"

#include "tiles/tile_block.h"
#include "tiles/tile_side.h"

#include <cmath>
#include <numbers>

double MetresPerPixel(double latitude, int level) {
    const double equator = 2 * kWebMercatorHalfSide;
    return equator * std::cos(latitude * std::numbers::pi / 180) / std::ldexp(kTileSide, level);
}

ScaleBar ScaleBarFor(double latitude, int level, int maxPixels) {
    const double perPixel = MetresPerPixel(latitude, level);
    if (!(perPixel > 0) || maxPixels <= 0)
        return {};
    const double most = perPixel * maxPixels;
    if (most < 1)
        return {};
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    double metres = power;
    for (double step : {5.0, 2.0})
        if (step * power <= most) {
            metres = step * power;
            break;
        }
    return {metres, static_cast<int>(std::lround(metres / perPixel))};
}
