// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/geo_region.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

namespace {

void AddToBounds(const GeoRing& ring, GeoBounds& bounds, bool& first) {
    for (const GeoPoint& p : ring) {
        if (first) {
            bounds = {p.longitude, p.latitude, p.longitude, p.latitude};
            first = false;
        }
        bounds.west = std::min(bounds.west, p.longitude);
        bounds.east = std::max(bounds.east, p.longitude);
        bounds.south = std::min(bounds.south, p.latitude);
        bounds.north = std::max(bounds.north, p.latitude);
    }
}

// Cuts the ring into chains where its latitude turns; a step along a parallel goes with
// either side. Each chain's points are stored from its northern end. A ring of one point
// repeated has no edge and gives no chain.
void AddRingChains(const GeoRing& ring, std::vector<RegionChain>& chains,
                   std::vector<GeoPoint>& points) {
    std::vector<GeoPoint> closed;
    closed.reserve(ring.size() + 1);
    for (const GeoPoint& p : ring)
        if (closed.empty() || !(closed.back() == p))
            closed.push_back(p);
    if (closed.size() > 1 && closed.back() == closed.front())
        closed.pop_back();
    if (closed.size() < 2)
        return;
    closed.push_back(closed.front());

    const auto add = [&](std::size_t from, std::size_t to) { // both included
        RegionChain chain{points.size(), points.size() + (to - from + 1), 0, 0};
        const auto begin = closed.begin() + static_cast<std::ptrdiff_t>(from);
        const auto end = closed.begin() + static_cast<std::ptrdiff_t>(to + 1);
        if (closed[from].latitude < closed[to].latitude)
            points.insert(points.end(), std::make_reverse_iterator(end),
                          std::make_reverse_iterator(begin));
        else
            points.insert(points.end(), begin, end);
        chain.northLatitude = points[chain.first].latitude;
        chain.southLatitude = points[chain.end - 1].latitude;
        chains.push_back(chain);
    };
    std::size_t start = 0;
    int direction = 0; // of the chain so far: 1 north, -1 south, 0 along a parallel
    for (std::size_t i = 0; i + 1 < closed.size(); ++i) {
        const double step = closed[i + 1].latitude - closed[i].latitude;
        const int turn = step > 0 ? 1 : step < 0 ? -1 : 0;
        if (turn != 0 && direction != 0 && turn != direction) {
            add(start, i);
            start = i;
        }
        if (turn != 0)
            direction = turn;
    }
    add(start, closed.size() - 1);
}

} // namespace

GeoRegion::GeoRegion(std::vector<GeoPolygon> polygons) {
    Shared shared;
    shared.polygons = std::move(polygons);
    bool first = true;
    for (const GeoPolygon& polygon : shared.polygons) {
        AddToBounds(polygon.outer, shared.bounds, first);
        AddRingChains(polygon.outer, shared.chains, shared.chainPoints);
        for (const GeoRing& hole : polygon.holes) {
            AddToBounds(hole, shared.bounds, first);
            AddRingChains(hole, shared.chains, shared.chainPoints);
        }
    }
    std::sort(shared.chains.begin(), shared.chains.end(),
              [](const RegionChain& a, const RegionChain& b) {
                  return a.northLatitude > b.northLatitude;
              });
    for (std::size_t size = 0; size < std::size(kBlockPoints); ++size)
        for (std::size_t i = 0; i < shared.chainPoints.size(); ++i) {
            const double longitude = shared.chainPoints[i].longitude;
            std::vector<LongitudeRange>& blocks = shared.blocks[size];
            if (i % kBlockPoints[size] == 0)
                blocks.push_back({longitude, longitude});
            blocks.back().west = std::min(blocks.back().west, longitude);
            blocks.back().east = std::max(blocks.back().east, longitude);
        }
    for (const GeoPoint& point : shared.chainPoints)
        shared.latitudes.push_back(point.latitude);
    std::sort(shared.latitudes.begin(), shared.latitudes.end(), std::greater<>());
    shared.latitudes.erase(std::unique(shared.latitudes.begin(), shared.latitudes.end()),
                           shared.latitudes.end());
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
