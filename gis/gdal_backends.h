// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GDAL plugin's own makers of what gis_backends.h offers.
#include "gis/gis_backends.h"

AreaFile ReadAreaFileWithGdal(const QString& path, double bufferMetres);
MapShapes ReadMapShapesWithGdal(const QString& path);
std::unique_ptr<GeoTiffBackend> MakeGdalGeoTiffWriter(const QString& path, const TileBlock& block,
                                                      const GeoTiffOptions& options);
std::unique_ptr<ZipBackend> MakeGdalZipFile();
