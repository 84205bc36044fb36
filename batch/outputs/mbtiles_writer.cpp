// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/mbtiles_writer.h"

#include <QStringList>
#include <utility>

namespace {

// The schema of MBTiles 1.3; the index makes a cell unique and lets readers find tiles.
constexpr char kSchema[] = "CREATE TABLE metadata (name text, value text);"
                           "CREATE TABLE tiles (zoom_level integer, tile_column integer, "
                           "tile_row integer, tile_data blob);"
                           "CREATE UNIQUE INDEX tile_index ON tiles "
                           "(zoom_level, tile_column, tile_row);";

QString Degrees(double value) {
    return QString::number(value, 'f', 8);
}

} // namespace

bool MbtilesWriter::Begin(const TilesetMetadata& metadata) {
    if (!OpenDatabase(kSchema))
        return false;
    const GeoBounds& b = metadata.bounds;
    const std::pair<const char*, QString> rows[] = {
        {"name", metadata.name},
        {"format", TileFormatName(metadata.encoding)},
        {"type", QStringLiteral("baselayer")},
        {"version", QStringLiteral("1.3")},
        {"attribution", metadata.attribution},
        {"minzoom", QString::number(metadata.minZoom)},
        {"maxzoom", QString::number(metadata.maxZoom)},
        {"bounds",
         QStringList{Degrees(b.west), Degrees(b.south), Degrees(b.east), Degrees(b.north)}.join(
             ',')},
        {"center", QStringList{Degrees((b.west + b.east) / 2), Degrees((b.south + b.north) / 2),
                               QString::number(metadata.minZoom)}
                       .join(',')},
    };
    sqlite3_stmt* insert = Database().Prepare("INSERT INTO metadata VALUES (?, ?)");
    for (const auto& [key, value] : rows)
        if (!Database().Run(insert, {QString::fromLatin1(key), value}))
            return FailInDatabase();
    return PrepareTileInsert("INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, ?)");
}

bool MbtilesWriter::AddTile(const TileKey& key, const QByteArray& bytes) {
    // TMS: rows from the south (a key outside its grid is refused before this matters).
    const std::uint64_t side = std::uint64_t{1} << (unsigned(key.level) & 63u);
    const auto southRow = std::int64_t(side - 1 - key.row);
    return InsertTile(
        key, {std::int64_t{key.level}, std::int64_t{key.column}, southRow, SqlBlob{bytes}});
}
