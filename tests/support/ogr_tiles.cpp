// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ogr_tiles.h"

#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>

namespace {

OGRLinearRing* Ring(const GeoRing& points) {
    auto* ring = new OGRLinearRing;
    for (const GeoPoint& p : points)
        ring->addPoint(p.longitude, p.latitude);
    ring->closeRings();
    return ring;
}

} // namespace

std::set<TileKey> IntersectingTiles(const std::vector<GeoPolygon>& polygons, int level) {
    OGRMultiPolygon geometry;
    for (const GeoPolygon& polygon : polygons) {
        auto* part = new OGRPolygon;
        part->addRingDirectly(Ring(polygon.outer));
        for (const GeoRing& hole : polygon.holes)
            part->addRingDirectly(Ring(hole));
        geometry.addGeometryDirectly(part);
    }
    const GeoBounds box = GeoRegion(polygons).Bounds();
    const double side = std::ldexp(1.0, level);
    const auto clampTo = [&](double v) { return std::clamp(v, 0.0, side - 1); };
    const double west = clampTo(std::floor((box.west + 180) / 360 * side) - 1);
    const double east = clampTo(std::floor((box.east + 180) / 360 * side) + 1);
    const double north = clampTo(std::floor(RowAtLatitude(level, std::min(box.north, 89.0))) - 1);
    const double south = clampTo(std::floor(RowAtLatitude(level, std::max(box.south, -89.0))) + 1);
    std::set<TileKey> tiles;
    for (double row = north; row <= south; ++row)
        for (double column = west; column <= east; ++column) {
            const double w = ColumnEdgeLongitude(level, column);
            const double e = ColumnEdgeLongitude(level, column + 1);
            const double n = RowEdgeLatitude(level, row);
            const double s = RowEdgeLatitude(level, row + 1);
            OGRPolygon square;
            square.addRingDirectly(Ring({{w, s}, {e, s}, {e, n}, {w, n}}));
            if (geometry.Intersects(&square))
                tiles.insert(
                    {level, static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row)});
        }
    return tiles;
}
