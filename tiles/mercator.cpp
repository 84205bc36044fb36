#include "tiles/mercator.h"

#include <cmath>
#include <limits>

long double TwoToThe(int level) {
    return std::pow(2.0L, level);
}

long double LatitudeOfFraction(long double fraction) {
    return (kPi / 2 - 2 * std::atan(std::exp((1 - 2 * fraction) * kPi))) * kInversePi * 180;
}

long double LongitudeOfFraction(long double fraction) {
    return fraction * 360 - 180;
}
