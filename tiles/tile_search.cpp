#include "tiles/tile_search.h"

#include "tiles/mercator.h"
#include "tiles/neighbours.h"

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

QChar FirstLetter(int latHemisphereIndex, int lonHemisphereIndex) {
    const bool north = latHemisphereIndex == 0;
    const bool south = latHemisphereIndex == 1;
    const bool west = lonHemisphereIndex == 0;
    const bool east = lonHemisphereIndex == 1;
    if (north && east)
        return u'r';
    if (north && west)
        return u'q';
    if (south && east)
        return u's';
    if (south && west)
        return u't';
    return {};
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
        if (upper && eastern) {
            result.path += u'r';
            q -= static_cast<double>(o);
            e -= static_cast<double>(o);
        } else if (upper) {
            result.path += u'q';
            q -= static_cast<double>(o);
        } else if (eastern) {
            result.path += u's';
            e -= static_cast<double>(o);
        } else {
            result.path += u't';
        }
    }
    result.markY = TruncatedInt(256 - static_cast<long double>(q) * 256);
    result.markX = TruncatedInt(static_cast<long double>(e) * 256);
    return result;
}

SearchView SearchViewFor(const QString& prefix, const TileSearch& search) {
    const int prefixLength = static_cast<int>(prefix.size());
    SearchView result;
    result.markedTile = prefix + search.path;
    result.markX = search.markX;
    result.markY = search.markY;

    const bool upperHalf = search.markY < 128;
    const bool westHalf = search.markX < 128;
    QString anchor = result.markedTile;
    if (upperHalf)
        anchor = NorthNeighbour(anchor, prefixLength);
    if (westHalf)
        anchor = WestNeighbour(anchor, prefixLength);

    result.view[0] = anchor;
    result.view[1] = EastNeighbour(result.view[0], prefixLength);
    result.view[2] = SouthNeighbour(result.view[1], prefixLength);
    result.view[3] = SouthNeighbour(result.view[0], prefixLength);
    return result;
}
