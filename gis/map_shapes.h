// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines, areas and points of a file (a GPX track, a KML outline, a GeoJSON...) as they are,
// to be drawn over the map: read through GDAL's vector drivers, unlike an area file nothing is
// buffered or merged.
#include "tiles/geo_polygon.h"

#include <QString>
#include <vector>

struct MapShapes {
    std::vector<GeoRing> lines; // tracks, routes and other lines, open, in WGS 84 degrees
    std::vector<GeoPolygon> areas;
    std::vector<GeoPoint> points; // waypoints and other single points
    QString error;                // why there is nothing to draw, in the user's words
};

MapShapes ReadMapShapes(const QString& path);
