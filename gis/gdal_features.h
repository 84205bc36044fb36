// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The geometries of a vector file as GDAL reads them, shared by the plugin's readers.
#include "tiles/geo_polygon.h"

#include <QString>
#include <functional>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>

// WGS 84 degrees, longitude first.
OGRSpatialReference Wgs84();

// Calls each with every feature's geometry of every layer, in WGS 84 degrees, longitude first,
// leaving out the layers of a GPX file that repeat its tracks' and routes' vertices as points.
// False, with GDAL's reason in error, when the file does not open as vector data. The caller
// holds a GdalSession.
bool ForEachGeometry(const QString& path, const std::function<void(const OGRGeometry&)>& each,
                     QString* error);

// The points of a line or ring, and a polygon with its holes, as the program keeps them.
GeoRing PointsOf(const OGRSimpleCurve& line);
GeoPolygon PolygonOf(const OGRPolygon& polygon);
