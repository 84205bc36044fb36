// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/geopackage_writer.h"

#include "batch/outputs/web_mercator_wkt.h"

#include <algorithm>
#include <cmath>

namespace {

// The application id "GPKG" and version 1.2.0, the tables every GeoPackage has and the one
// of the tiles.
constexpr char kSchema[] =
    "PRAGMA application_id=1196444487;"
    "PRAGMA user_version=10200;"
    "CREATE TABLE gpkg_spatial_ref_sys (srs_name TEXT NOT NULL, srs_id INTEGER PRIMARY KEY, "
    "organization TEXT NOT NULL, organization_coordsys_id INTEGER NOT NULL, "
    "definition TEXT NOT NULL, description TEXT);"
    "CREATE TABLE gpkg_contents (table_name TEXT NOT NULL PRIMARY KEY, "
    "data_type TEXT NOT NULL, identifier TEXT UNIQUE, description TEXT DEFAULT '', "
    "last_change DATETIME NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ','now')), "
    "min_x DOUBLE, min_y DOUBLE, max_x DOUBLE, max_y DOUBLE, srs_id INTEGER, "
    "CONSTRAINT fk_gc_r_srs_id FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys(srs_id));"
    "CREATE TABLE gpkg_tile_matrix_set (table_name TEXT NOT NULL PRIMARY KEY, "
    "srs_id INTEGER NOT NULL, min_x DOUBLE NOT NULL, min_y DOUBLE NOT NULL, "
    "max_x DOUBLE NOT NULL, max_y DOUBLE NOT NULL, "
    "CONSTRAINT fk_gtms_table_name FOREIGN KEY (table_name) REFERENCES gpkg_contents(table_name), "
    "CONSTRAINT fk_gtms_srs FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys (srs_id));"
    "CREATE TABLE gpkg_tile_matrix (table_name TEXT NOT NULL, zoom_level INTEGER NOT NULL, "
    "matrix_width INTEGER NOT NULL, matrix_height INTEGER NOT NULL, "
    "tile_width INTEGER NOT NULL, tile_height INTEGER NOT NULL, "
    "pixel_x_size DOUBLE NOT NULL, pixel_y_size DOUBLE NOT NULL, "
    "CONSTRAINT pk_ttm PRIMARY KEY (table_name, zoom_level), "
    "CONSTRAINT fk_tmm_table_name FOREIGN KEY (table_name) REFERENCES gpkg_contents(table_name));"
    "CREATE TABLE tiles (id INTEGER PRIMARY KEY AUTOINCREMENT, zoom_level INTEGER NOT NULL, "
    "tile_column INTEGER NOT NULL, tile_row INTEGER NOT NULL, tile_data BLOB NOT NULL, "
    "UNIQUE (zoom_level, tile_column, tile_row));"
    "INSERT INTO gpkg_spatial_ref_sys VALUES ('Undefined cartesian SRS', -1, 'NONE', -1, "
    "'undefined', 'undefined cartesian coordinate reference system');"
    "INSERT INTO gpkg_spatial_ref_sys VALUES ('Undefined geographic SRS', 0, 'NONE', 0, "
    "'undefined', 'undefined geographic coordinate reference system');"
    "INSERT INTO gpkg_spatial_ref_sys VALUES ('WGS 84 geodetic', 4326, 'EPSG', 4326, "
    "'GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563,"
    "AUTHORITY[\"EPSG\",\"7030\"]],AUTHORITY[\"EPSG\",\"6326\"]],PRIMEM[\"Greenwich\",0,"
    "AUTHORITY[\"EPSG\",\"8901\"]],UNIT[\"degree\",0.0174532925199433,"
    "AUTHORITY[\"EPSG\",\"9122\"]],AUTHORITY[\"EPSG\",\"4326\"]]', "
    "'longitude/latitude coordinates in decimal degrees on the WGS 84 spheroid');";

// The plane the tiles are on, in the OGC form GDAL reads.
const QByteArray& Schema() {
    static const QByteArray schema =
        QByteArray(kSchema) +
        "INSERT INTO gpkg_spatial_ref_sys VALUES ('WGS 84 / Pseudo-Mercator', 3857, 'EPSG', "
        "3857, '" +
        kWebMercatorWkt + "', 'spherical Mercator of web maps');";
    return schema;
}

constexpr double kHalf = kWebMercatorHalfSide;

// The metres of a rectangle of tiles, cut at the plane's edges (a rectangle that wraps
// round the 180th meridian takes the whole width).
struct PlaneExtent {
    double minX, minY, maxX, maxY;
};
PlaneExtent ExtentOf(const TileBlock& block) {
    const std::array<double, 6> t = BlockGeoTransform(block);
    const double east = t[0] + double(block.columns * kTileSide) * t[1];
    const double south = t[3] + double(block.rows * kTileSide) * t[5];
    const bool wraps = east > kHalf * (1 + 1e-12);
    return {wraps ? -kHalf : t[0], std::max(south, -kHalf), wraps ? kHalf : east,
            std::min(t[3], kHalf)};
}

double MercatorY(double latitude) {
    const double phi = std::clamp(latitude, -85.0511287798, 85.0511287798) * M_PI / 180;
    return kHalf / M_PI * std::log(std::tan(M_PI / 4 + phi / 2));
}

PlaneExtent ExtentOf(const GeoBounds& b) {
    return {b.west * kHalf / 180, MercatorY(b.south), std::min(b.east, 180.0) * kHalf / 180,
            MercatorY(b.north)};
}

} // namespace

bool GeoPackageWriter::Begin(const TilesetMetadata& metadata) {
    if (!OpenDatabase(Schema().constData()) || !DescribeSet(metadata))
        return false;
    return PrepareTileInsert("INSERT OR REPLACE INTO tiles (zoom_level, tile_column, "
                             "tile_row, tile_data) VALUES (?, ?, ?, ?)");
}

bool GeoPackageWriter::DescribeSet(const TilesetMetadata& metadata) {
    SqliteDatabase& db = Database();
    const PlaneExtent extent =
        metadata.levels.empty() ? ExtentOf(metadata.bounds) : ExtentOf(metadata.levels.back());
    const bool described =
        db.Run(db.Prepare("INSERT INTO gpkg_contents (table_name, data_type, identifier, "
                          "description, min_x, min_y, max_x, max_y, srs_id) "
                          "VALUES ('tiles', 'tiles', ?, ?, ?, ?, ?, ?, 3857)"),
               {metadata.name, metadata.attribution, extent.minX, extent.minY, extent.maxX,
                extent.maxY}) &&
        db.Exec("INSERT INTO gpkg_tile_matrix_set VALUES ('tiles', 3857, "
                "-20037508.342789244, -20037508.342789244, "
                "20037508.342789244, 20037508.342789244);");
    if (!described)
        return FailInDatabase();
    std::vector<int> levels;
    for (const TileBlock& block : metadata.levels)
        levels.push_back(block.level);
    if (levels.empty())
        for (int level = metadata.minZoom; level <= metadata.maxZoom; ++level)
            levels.push_back(level);
    sqlite3_stmt* matrix =
        db.Prepare("INSERT INTO gpkg_tile_matrix VALUES ('tiles', ?, ?, ?, 256, 256, ?, ?)");
    for (const int level : levels) {
        const std::int64_t side = std::int64_t{1} << level;
        const double pixel = 2 * kHalf / double(side * kTileSide);
        if (!db.Run(matrix, {std::int64_t{level}, side, side, pixel, pixel}))
            return FailInDatabase();
    }
    return true;
}

bool GeoPackageWriter::AddTile(const TileKey& key, const QByteArray& bytes) {
    // The matrix set covers the world from its north-west corner, as the tiles' own grid.
    return InsertTile(key, {std::int64_t{key.level}, std::int64_t{key.column},
                            std::int64_t{key.row}, SqlBlob{bytes}});
}
