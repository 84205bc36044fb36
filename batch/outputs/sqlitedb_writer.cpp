// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/sqlitedb_writer.h"

namespace {

// android_metadata is there because Android's SQLite opens a database without it only
// read-write, which a map app on a phone may not ask for.
constexpr char kSchema[] =
    "CREATE TABLE tiles (x int, y int, z int, s int, image blob, PRIMARY KEY (x, y, z, s));"
    "CREATE TABLE info (maxzoom int, minzoom int, ellipsoid int, inverted_y int, "
    "tilenumbering text, tilesize int, timecolumn text);"
    "CREATE TABLE android_metadata (locale text);"
    "INSERT INTO android_metadata VALUES ('en_US');";

} // namespace

bool SqlitedbWriter::Begin(const TilesetMetadata& metadata) {
    if (!OpenDatabase(kSchema))
        return false;
    // The range as the tiles count it: the deepest level has the smallest z.
    SqliteDatabase& db = Database();
    if (!db.Run(
            db.Prepare("INSERT INTO info VALUES (?, ?, 0, 0, 'BigPlanet', 256, 'no')"),
            {std::int64_t{SqlitedbZ(metadata.minZoom)}, std::int64_t{SqlitedbZ(metadata.maxZoom)}}))
        return FailInDatabase();
    return PrepareTileInsert("INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, 0, ?)");
}

bool SqlitedbWriter::AddTile(const TileKey& key, const QByteArray& bytes) {
    return InsertTile(key, {std::int64_t{key.column}, std::int64_t{key.row},
                            std::int64_t{SqlitedbZ(key.level)}, SqlBlob{bytes}});
}
