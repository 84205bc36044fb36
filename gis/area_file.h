// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The area a person brings in a file: a GPX track, a park's outline in KML, a GeoJSON or a
// Shapefile, read through GDAL's vector drivers and turned into the polygons of one region.
#include "tiles/geo_polygon.h"

#include <QString>
#include <vector>

inline constexpr double kDefaultBufferMetres = 500;
inline constexpr double kMaxBufferMetres = 100'000;

struct AreaFile {
    std::vector<GeoPolygon> polygons; // the union of every feature's area, in WGS 84 degrees
    QString error;                    // why there is none, in the user's words
};

// Every feature of every layer: polygons as they are (a self-intersecting one repaired), lines,
// tracks and routes as corridors reaching bufferMetres either side, points as squares reaching
// bufferMetres each way. Distances are ground metres, measured in a projection centred on each
// piece. GPX track and route points are the tracks' own vertices and are not taken again.
AreaFile ReadAreaFile(const QString& path, double bufferMetres);
