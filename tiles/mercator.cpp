// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/mercator.h"

#include <cmath>
#include <limits>

long double TwoToThe(int level) {
    return std::ldexp(1.0L, level); // exact, and far cheaper than pow
}

long double LatitudeOfFraction(long double fraction) {
    return (kPi / 2 - 2 * std::atan(std::exp((1 - 2 * fraction) * kPi))) * kInversePi * 180;
}

long double LongitudeOfFraction(long double fraction) {
    return fraction * 360 - 180;
}
