// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A region of the globe of any shape: polygons (with holes) in longitude and latitude, taken
// together. Inside is decided by the even-odd rule over all their rings, so the polygons are
// expected not to overlap (a union, as the area files give). Copies share the geometry.
#include "tiles/geo_polygon.h"
#include "tiles/tile_block.h"

#include <memory>
#include <optional>
#include <vector>

// A stretch of a ring along which latitude never rises, from its northern end: the rings
// cut where they turn north or south. A parallel meets a chain in one point or along one
// stretch, so a sweep from the north follows each chain with one cursor. Points index
// ChainPoints().
struct RegionChain {
    std::size_t first = 0; // the northernmost point
    std::size_t end = 0;   // past the southernmost point
    double northLatitude = 0;
    double southLatitude = 0;
};

// The longitudes a run of consecutive ChainPoints() spans, both included.
struct LongitudeRange {
    double west = 0;
    double east = 0;
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
    bool IsEmpty() const { return shared_->chains.empty(); }
    // The smallest box holding every ring (all zero for an empty region).
    GeoBounds Bounds() const { return shared_->bounds; }
    // The boundary of every ring as chains, sorted by northern latitude, northernmost first:
    // the order a sweep from the north takes them up in.
    const std::vector<RegionChain>& ChainsFromNorth() const { return shared_->chains; }
    const std::vector<GeoPoint>& ChainPoints() const { return shared_->chainPoints; }
    // The points of ChainPoints() in blocks of kBlockPoints[size], block k holding points from
    // k * kBlockPoints[size] on: what a sweep needs of a stretch of a chain that lies inside one
    // band of latitudes, so that it need not read every point of it. Largest blocks first.
    static constexpr std::size_t kBlockPoints[] = {256, 16};
    const std::vector<LongitudeRange>& PointBlocks(std::size_t size) const {
        return shared_->blocks[size];
    }
    // The latitudes of the boundary's points, each once, northernmost first.
    const std::vector<double>& LatitudesFromNorth() const { return shared_->latitudes; }

private:
    struct Shared {
        std::vector<GeoPolygon> polygons;
        std::vector<RegionChain> chains;
        std::vector<GeoPoint> chainPoints;
        std::vector<double> latitudes;
        std::vector<LongitudeRange> blocks[std::size(kBlockPoints)];
        GeoBounds bounds;
    };
    std::shared_ptr<const Shared> shared_ = std::make_shared<const Shared>();
};
