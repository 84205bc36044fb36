// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_search.h"

#include "tiles/mercator.h"
#include "tiles/neighbours.h"
#include "tiles/tile_key.h"
#include "tiles/view_moves.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Truncates towards zero into an int, saturating, with 0 for NaN: no undefined conversion.
int TruncatedInt(long double value) {
    if (std::isnan(value))
        return 0;
    const long double low = std::numeric_limits<int>::min();
    const long double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), low, high));
}

// Height of the point above the equator, in tiles of the level; for the poles and beyond,
// where the Mercator ordinate is undefined, the edge of the hemisphere chosen above.
double HeightAboveEquator(double latitude, long double halfWorld) {
    if (latitude <= -90)
        return 0;
    if (latitude >= 90)
        return SaturatedDouble(halfWorld);
    const long double tangent = std::tan((kPi / 2 - latitude * kPi * kInverse180) * 0.5L);
    // Kept as a double, which makes exact points such as the equator land on their line.
    const double m = SaturatedDouble(1 - std::log(tangent) * kInversePi);
    if (!std::isfinite(m)) // NaN, or a latitude so close to 90 that the tangent is not positive
        return SaturatedDouble(halfWorld);
    return SaturatedDouble(2 * halfWorld * m * 0.5L - halfWorld);
}

// The hemisphere's quarter of the world; none without both selections.
QChar FirstLetter(int latHemisphereIndex, int lonHemisphereIndex) {
    const bool latChosen = latHemisphereIndex == 0 || latHemisphereIndex == 1;
    const bool lonChosen = lonHemisphereIndex == 0 || lonHemisphereIndex == 1;
    if (!latChosen || !lonChosen)
        return {};
    return QLatin1Char(QuadLetter(latHemisphereIndex == 1, lonHemisphereIndex == 1));
}

} // namespace

TileSearch LatLonToTile(double latitude, double longitude, int latHemisphereIndex,
                        int lonHemisphereIndex, int level) {
    const int z = std::min(level, kMaxSearchLevel);
    const long double halfWorld = TwoToThe(z - 1);

    double q = HeightAboveEquator(latitude, halfWorld);
    double e = SaturatedDouble(2 * halfWorld * ((longitude + 180) * kInverse360) - halfWorld);
    if (latHemisphereIndex == 1)
        q = SaturatedDouble(halfWorld - q);
    if (lonHemisphereIndex == 0)
        e = SaturatedDouble(halfWorld - e);

    TileSearch result;
    if (const QChar first = FirstLetter(latHemisphereIndex, lonHemisphereIndex); !first.isNull())
        result.path += first;
    // o runs over the powers of two below the half world: 2^(z-2) down to 1.
    for (long double o = std::trunc(halfWorld * 0.5L); o >= 1; o = std::trunc(o * 0.5L)) {
        const bool upper = q >= o;
        const bool eastern = e >= o;
        result.path += QLatin1Char(QuadLetter(!upper, eastern));
        if (upper)
            q -= static_cast<double>(o);
        if (eastern)
            e -= static_cast<double>(o);
    }
    result.markY = TruncatedInt(kTileSide - static_cast<long double>(q) * kTileSide);
    result.markX = TruncatedInt(static_cast<long double>(e) * kTileSide);
    return result;
}

SearchView SearchViewFor(const TileSearch& search) {
    SearchView result;
    result.markedTile = search.path;
    result.markX = search.markX;
    result.markY = search.markY;

    const bool upperHalf = search.markY < kTileSide / 2;
    const bool westHalf = search.markX < kTileSide / 2;
    QString anchor = result.markedTile;
    if (upperHalf)
        anchor = NorthNeighbour(anchor);
    if (westHalf)
        anchor = WestNeighbour(anchor);

    result.view = BlockFromAnchor(anchor);
    return result;
}
