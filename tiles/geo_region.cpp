#include "tiles/geo_region.h"

#include <algorithm>
#include <cmath>

namespace {

void AddRingEdges(const GeoRing& ring, std::vector<RegionEdge>& edges, GeoBounds& bounds,
                  bool& first) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GeoPoint& a = ring[i];
        const GeoPoint& b = ring[(i + 1) % ring.size()];
        if (first) {
            bounds = {a.longitude, a.latitude, a.longitude, a.latitude};
            first = false;
        }
        bounds.west = std::min(bounds.west, a.longitude);
        bounds.east = std::max(bounds.east, a.longitude);
        bounds.south = std::min(bounds.south, a.latitude);
        bounds.north = std::max(bounds.north, a.latitude);
        if (a == b)
            continue;
        const bool aSouth = a.latitude < b.latitude;
        const GeoPoint& s = aSouth ? a : b;
        const GeoPoint& n = aSouth ? b : a;
        edges.push_back({s.longitude, s.latitude, n.longitude, n.latitude});
    }
}

} // namespace

GeoRegion::GeoRegion(std::vector<GeoPolygon> polygons) {
    Shared shared;
    shared.polygons = std::move(polygons);
    bool first = true;
    for (const GeoPolygon& polygon : shared.polygons) {
        AddRingEdges(polygon.outer, shared.edges, shared.bounds, first);
        for (const GeoRing& hole : polygon.holes)
            AddRingEdges(hole, shared.edges, shared.bounds, first);
    }
    std::sort(
        shared.edges.begin(), shared.edges.end(),
        [](const RegionEdge& a, const RegionEdge& b) { return a.northLatitude > b.northLatitude; });
    shared_ = std::make_shared<const Shared>(std::move(shared));
}

std::optional<GeoRegion> GeoRegion::Box(double west, double south, double east, double north) {
    const auto inside = [](double value, double limit) {
        return std::isfinite(value) && std::abs(value) <= limit;
    };
    if (!inside(west, 180) || !inside(east, 180) || !inside(south, 90) || !inside(north, 90) ||
        south >= north)
        return std::nullopt;
    const auto box = [&](double w, double e) {
        return GeoPolygon{{{w, south}, {e, south}, {e, north}, {w, north}}, {}};
    };
    if (west <= east)
        return GeoRegion({box(west, east)});
    return GeoRegion({box(west, 180), box(-180, east)});
}
