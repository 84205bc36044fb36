// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles as an MBTiles 1.3 file (a SQLite database of tiles, read by
// GDAL, QGIS and phone map apps): the metadata, the tiles as their cached bytes with rows
// counted from the south (TMS), one tile per cell.
#include "batch/outputs/sqlite_file_writer.h"

using MbtilesMetadata = TilesetMetadata;

class MbtilesWriter : public SqliteFileWriter {
public:
    explicit MbtilesWriter(QString path) : SqliteFileWriter(std::move(path)) {}

    bool Begin(const TilesetMetadata& metadata) override;
    bool AddTile(const TileKey& key, const QByteArray& bytes) override;
};
