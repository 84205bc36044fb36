// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles as the SQLite layout RMaps and BigPlanet introduced, which OsmAnd
// and Locus read (".sqlitedb"): a tiles table of x, y, z, s and image, where x and y are the
// tile's column and row from the north-west and z counts levels down from 17 (17 - level),
// s is 0; an info table with the level range counted the same way and OsmAnd's columns
// saying that the tiles are spherical Web Mercator with rows from the north.
#include "batch/outputs/sqlite_file_writer.h"

// The z of a level in this layout.
constexpr int SqlitedbZ(int level) {
    return 17 - level;
}

class SqlitedbWriter : public SqliteFileWriter {
public:
    explicit SqlitedbWriter(QString path) : SqliteFileWriter(std::move(path)) {}

    bool Begin(const TilesetMetadata& metadata) override;
    bool AddTile(const TileKey& key, const QByteArray& bytes) override;
};
