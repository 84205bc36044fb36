// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <limits>
// The spherical Mercator formulas in extended precision, shared by the read-outs and the
// search. Fractions run from 0 at the south (or east) edge of the world to 1 at the
// north (or west) edge.

// pi in extended precision. With the double constant the equator would come out a few
// 1e-15 degrees south of itself and exact dividing lines would fall on the wrong side.
inline constexpr long double kPi = 3.141592653589793238462643383279502884L;
inline constexpr long double kInversePi = 1.0L / kPi;
inline constexpr long double kInverse180 = 1.0L / 180;
inline constexpr long double kInverse360 = 1.0L / 360;
inline constexpr long double kInverse60 = 1.0L / 60;

// The nearest value of the type (float or double); values beyond its range become
// infinite rather than going through an undefined conversion.
template <typename Real> Real Saturated(long double value) {
    if (value > std::numeric_limits<Real>::max())
        return std::numeric_limits<Real>::infinity();
    if (value < -std::numeric_limits<Real>::max())
        return -std::numeric_limits<Real>::infinity();
    return static_cast<Real>(value);
}
inline double SaturatedDouble(long double value) {
    return Saturated<double>(value);
}

// 2 to the power of the level (a fraction for levels below 0).
long double TwoToThe(int level);

// Latitude in degrees of a vertical fraction of the world (inverse Mercator).
long double LatitudeOfFraction(long double fraction);

// West-positive longitude in degrees of a horizontal fraction measured from the east edge.
long double LongitudeOfFraction(long double fraction);
