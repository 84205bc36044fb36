// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Areas of the globe as rings of longitude and latitude in degrees (east and north positive),
// their edges straight in longitude and latitude, as GeoJSON and GDAL draw them.
#include <vector>

struct GeoPoint {
    double longitude = 0;
    double latitude = 0;
    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

// A closed ring: the last point joins the first (repeating the first point is allowed).
using GeoRing = std::vector<GeoPoint>;

// An outer ring with the holes cut out of it.
struct GeoPolygon {
    GeoRing outer;
    std::vector<GeoRing> holes;
};
