#pragma once
// A region of the globe of any shape: polygons (with holes) in longitude and latitude, taken
// together. Inside is decided by the even-odd rule over all their rings, so the polygons are
// expected not to overlap (a union, as the area files give). Copies share the geometry.
#include "tiles/geo_polygon.h"
#include "tiles/tile_block.h"

#include <memory>
#include <optional>
#include <vector>

// One edge of a ring, its southern end first.
struct RegionEdge {
    double southLongitude = 0;
    double southLatitude = 0;
    double northLongitude = 0;
    double northLatitude = 0;
};

class GeoRegion {
public:
    GeoRegion() = default;
    explicit GeoRegion(std::vector<GeoPolygon> polygons);

    // A box in degrees; a west edge east of the east edge means the box crosses the 180th
    // meridian, and it is then the two boxes either side of it. Nothing when south is not
    // below north or a number lies outside the globe.
    static std::optional<GeoRegion> Box(double west, double south, double east, double north);

    const std::vector<GeoPolygon>& Polygons() const { return shared_->polygons; }
    bool IsEmpty() const { return shared_->edges.empty(); }
    // The smallest box holding every ring (all zero for an empty region).
    GeoBounds Bounds() const { return shared_->bounds; }
    // Every edge of every ring, sorted by northern latitude, northernmost first: the order a
    // sweep from the north takes them up in.
    const std::vector<RegionEdge>& EdgesFromNorth() const { return shared_->edges; }

private:
    struct Shared {
        std::vector<GeoPolygon> polygons;
        std::vector<RegionEdge> edges;
        GeoBounds bounds;
    };
    std::shared_ptr<const Shared> shared_ = std::make_shared<const Shared>();
};
