// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles as an OGC GeoPackage 1.2 tile pyramid (read by GDAL, QGIS, ArcGIS
// and field data collectors): the Web Mercator grid of the whole world as the tile matrix set,
// so that a matrix's zoom level, columns and rows are the tiles' own; one matrix per level
// written; the region's extent as the contents' bounds; the tiles as their own bytes.
#include "batch/outputs/sqlite_file_writer.h"

class GeoPackageWriter : public SqliteFileWriter {
public:
    explicit GeoPackageWriter(QString path) : SqliteFileWriter(std::move(path)) {}

    // The levels come from metadata.levels, else the range minZoom to maxZoom; the extent is
    // that of the deepest level's rectangle, else of the bounds.
    bool Begin(const TilesetMetadata& metadata) override;
    bool AddTile(const TileKey& key, const QByteArray& bytes) override;

private:
    bool DescribeSet(const TilesetMetadata& metadata);
};
