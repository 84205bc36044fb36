// SPDX-License-Identifier: GPL-3.0-or-later
// The tile sets an export writes, read back by the readers their users' apps rely on: GDAL for
// GeoPackage, SQLite for the phone layouts (addresses written here from each layout's own
// description), the pmtiles library from npm for PMTiles.
#include "batch/outputs/region_export.h"
#include "tiles/region_plan.h"

#include "tests/support/full_disk.h"
#include "tests/support/gdal_readback.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <functional>
#include <map>

namespace {

// A view at level 5 over Europe, one level deep: 4 tiles, then 16, each of its own colour.
struct Region {
    std::vector<TileBlock> levels = PlanRegion({.level = 5, .column = 10, .row = 17}, 6);
    std::map<TileKey, QByteArray> tiles;
    Region() {
        for (const TileBlock& block : levels)
            for (std::int64_t j = 0; j < block.rows; ++j)
                for (std::int64_t i = 0; i < block.columns; ++i)
                    tiles[CellInBlock(block, i, j)] = MakeTestJpeg(256, 256, ColourOf(i, j));
    }
    static QColor ColourOf(std::int64_t i, std::int64_t j) {
        return QColor(int(40 + 50 * i), int(40 + 50 * j), 160);
    }
};

// Empty when the region was written, else why not.
std::string Export(const QString& path, const Region& region,
                   TileEncoding encoding = TileEncoding::Jpeg) {
    RegionExport out(path, *ExportFormatOf(path), region.levels, "© Test imagery", 90, encoding);
    bool ok = out.Begin();
    for (const auto& [key, bytes] : region.tiles)
        ok = ok && out.AddTile(key, bytes);
    ok = ok && out.Finish();
    return ok ? std::string() : out.ErrorText().toStdString() + " ";
}

QString Sql(const QString& path, const QString& query) {
    return QString::fromUtf8(ProgramOutput("sqlite3", {path, query}).trimmed());
}

bool HaveTools() {
    return !QStandardPaths::findExecutable("sqlite3").isEmpty() &&
           !QStandardPaths::findExecutable("gdalinfo").isEmpty();
}

// Where a layout puts a tile, as "z|x|y" in the columns its query selects before the bytes.
struct Layout {
    const char* file;
    const char* database; // inside the file, for a folder
    const char* query;
    std::function<QString(const TileKey&, const Region&)> address;
};

QString Joined(std::initializer_list<std::int64_t> values) {
    QStringList parts;
    for (const std::int64_t v : values)
        parts.append(QString::number(v));
    return parts.join('|');
}

TEST(TileSets, EachSqliteLayoutHoldsExactlyTheTilesBytesAtTheirAddresses) {
    if (!HaveTools())
        GTEST_SKIP() << "sqlite3 or gdal-bin is not installed";
    const Layout layouts[] = {
        // MBTiles: rows counted from the south (TMS).
        {"a.mbtiles", "", "SELECT zoom_level, tile_column, tile_row, hex(tile_data) FROM tiles",
         [](const TileKey& k, const Region&) {
             return Joined({k.level, k.column, (std::int64_t{1} << k.level) - 1 - k.row});
         }},
        // GeoPackage over the whole world's matrix: the tile's own column and row from the north.
        {"a.gpkg", "", "SELECT zoom_level, tile_column, tile_row, hex(tile_data) FROM tiles",
         [](const TileKey& k, const Region&) {
             return Joined({k.level, k.column, k.row});
         }},
        // RMaps / BigPlanet: z is 17 minus the zoom, s is 0.
        {"a.sqlitedb", "", "SELECT z, x, y, s, hex(image) FROM tiles",
         [](const TileKey& k, const Region&) {
             return Joined({17 - k.level, k.column, k.row, 0});
         }},
        // OruxMaps: x and y from the north-west tile of the layer, z the layer's level.
        {"a.orux", "/OruxMapsImages.db", "SELECT z, x, y, hex(image) FROM tiles",
         [](const TileKey& k, const Region& r) {
             const TileBlock& layer = r.levels[std::size_t(k.level - r.levels.front().level)];
             return Joined({k.level, k.column - layer.column, k.row - layer.row});
         }},
    };
    const Region region;
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.file);
        TempDir dir;
        ASSERT_EQ("", Export(dir.file(layout.file), region));
        EXPECT_EQ(dir.names(), QStringList{layout.file});
        QStringList expected;
        for (const auto& [key, bytes] : region.tiles)
            expected.append(layout.address(key, region) + '|' + bytes.toHex().toUpper());
        QStringList rows = Sql(dir.file(layout.file) + layout.database, layout.query).split('\n');
        expected.sort();
        rows.sort();
        EXPECT_EQ(rows, expected);
    }
}

TEST(TileSets, GdalReadsTheGeoPackagesLevelsExtentAndPixels) {
    if (!HaveTools())
        GTEST_SKIP() << "sqlite3 or gdal-bin is not installed";
    TempDir dir;
    const QString path = dir.file("europe.gpkg");
    const Region region;
    ASSERT_EQ("", Export(path, region));
    const QJsonObject info = GdalInfo(path);
    EXPECT_EQ(info["driverShortName"].toString(), "GPKG");
    EXPECT_EQ(info["size"].toArray(), QJsonArray({4 * 256, 4 * 256})); // level 6
    EXPECT_EQ(info["bands"][0]["overviews"].toArray().size(), 1);      // level 5
    ExpectCornersOnBlock(info, region.levels.back());
    EXPECT_TRUE(info["coordinateSystem"]["wkt"].toString().contains("Pseudo-Mercator"));
    // The middle of each tile of the deepest level has the tile's colour.
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const QStringList rgb =
                QString::fromUtf8(ProgramOutput("gdallocationinfo",
                                                {"-valonly", path, QString::number(i * 256 + 128),
                                                 QString::number(j * 256 + 128)}))
                    .split('\n', Qt::SkipEmptyParts);
            ASSERT_GE(rgb.size(), 3);
            const QColor colour = Region::ColourOf(i, j);
            EXPECT_NEAR(rgb[0].toInt(), colour.red(), 3) << i << ',' << j;
            EXPECT_NEAR(rgb[1].toInt(), colour.green(), 3);
            EXPECT_NEAR(rgb[2].toInt(), colour.blue(), 3);
        }
    EXPECT_EQ(Sql(path, "SELECT description FROM gpkg_contents"), "© Test imagery");
}

TEST(TileSets, PhoneLayoutsDescribeTheirLevelsAsTheirAppsCountThem) {
    if (!HaveTools())
        GTEST_SKIP() << "sqlite3 is not installed";
    TempDir dir;
    const Region region;
    ASSERT_EQ("", Export(dir.file("a.sqlitedb"), region));
    // Levels 5 and 6 counted down from 17; spherical Web Mercator, rows from the north.
    EXPECT_EQ(Sql(dir.file("a.sqlitedb"),
                  "SELECT minzoom, maxzoom, ellipsoid, inverted_y, tilenumbering FROM info"),
              "11|12|0|0|BigPlanet");

    ASSERT_EQ("", Export(dir.file("spb.orux"), region));
    EXPECT_EQ(QDir(dir.file("spb.orux")).entryList(QDir::Files),
              QStringList({"OruxMapsImages.db", "spb.otrk2.xml"}));
    QFile xmlFile(dir.file("spb.orux/spb.otrk2.xml"));
    ASSERT_TRUE(xmlFile.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&xmlFile);
    std::vector<TileBlock> layers;
    std::map<QString, std::pair<double, double>> corners; // of the last layer
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("MapCalibration") &&
            a.value("layers") == QLatin1String("false"))
            layers.push_back({.level = a.value("layerLevel").toInt()});
        if (xml.name() == QLatin1String("MapChunks")) {
            layers.back().columns = a.value("xMax").toInt();
            layers.back().rows = a.value("yMax").toInt();
        }
        if (xml.name() == QLatin1String("CalibrationPoint"))
            corners[a.value("corner").toString()] = {a.value("lat").toDouble(),
                                                     a.value("lon").toDouble()};
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers[0].level, 5);
    EXPECT_EQ(layers[1].columns, 4);
    EXPECT_EQ(layers[1].rows, 4);
    const GeoBounds b = BlockBounds(region.levels.back());
    EXPECT_NEAR(corners["TL"].first, b.north, 1e-7);
    EXPECT_NEAR(corners["TL"].second, b.west, 1e-7);
    EXPECT_NEAR(corners["BR"].first, b.south, 1e-7);
    EXPECT_NEAR(corners["BR"].second, b.east, 1e-7);
}

// The pmtiles package from the npm registry, installed once into the build tree.
std::optional<QString> PmtilesReaderFolder() {
    const QString folder = QStringLiteral(ORBIVIST_BUILD_DIR "/npm-pmtiles");
    if (QFileInfo::exists(folder + "/node_modules/pmtiles/package.json"))
        return folder;
    if (QStandardPaths::findExecutable("npm").isEmpty())
        return std::nullopt;
    QDir().mkpath(folder);
    QProcess npm;
    npm.setWorkingDirectory(folder);
    npm.start("npm", {"install", "--no-audit", "--no-fund", "--prefix", folder, "pmtiles@4"});
    npm.waitForFinished(180000);
    if (!QFileInfo::exists(folder + "/node_modules/pmtiles/package.json"))
        return std::nullopt;
    return folder;
}

// Reads the archive with the library and prints its header, metadata and each tile's MD5.
constexpr char kReaderScript[] = R"(
import { PMTiles } from "pmtiles";
import { readFileSync } from "fs";
import { createHash } from "crypto";
const bytes = readFileSync(process.argv[2]);
const source = {
  getKey: () => process.argv[2],
  getBytes: async (offset, length) => ({
    data: bytes.buffer.slice(bytes.byteOffset + offset, bytes.byteOffset + offset + length) }),
};
const archive = new PMTiles(source);
const header = await archive.getHeader();
const tiles = {};
for (const zxy of process.argv.slice(3)) {
  const [z, x, y] = zxy.split("/").map(Number);
  const tile = await archive.getZxy(z, x, y);
  tiles[zxy] = tile ? createHash("md5").update(Buffer.from(tile.data)).digest("hex") : null;
}
console.log(JSON.stringify({ header, metadata: await archive.getMetadata(), tiles }));
)";

QJsonObject ReadWithPmtiles(const QString& folder, const QString& path, const QStringList& zxy) {
    QFile script(folder + "/read.mjs");
    if (!script.open(QIODevice::WriteOnly) || script.write(kReaderScript) < 0)
        return {};
    script.close();
    return QJsonDocument::fromJson(
               ProgramOutput("node", QStringList{script.fileName(), path} + zxy))
        .object();
}

TEST(TileSets, ThePmtilesLibraryReadsEveryTileAndTheAttribution) {
    const std::optional<QString> reader = PmtilesReaderFolder();
    if (!reader)
        GTEST_SKIP() << "npm could not install the pmtiles reader (no registry reachable)";
    // Beside the region, a region of 5000 tiles of two contents, whose directory takes leaves.
    Region big;
    big.levels = {{.level = 9, .column = 100, .row = 100, .columns = 100, .rows = 50}};
    big.tiles.clear();
    for (int j = 0; j < 50; ++j)
        for (int i = 0; i < 100; ++i)
            big.tiles[CellInBlock(big.levels[0], i, j)] =
                QByteArray((i + j) % 7 == 0 ? "sea" : "land") + QByteArray::number(i % 2);
    for (const Region& region : {Region(), big}) {
        TempDir dir;
        const QString path = dir.file("a.pmtiles");
        ASSERT_EQ("", Export(path, region));
        QStringList zxy{QStringLiteral("%1/0/0").arg(region.levels.back().level)}; // outside
        for (const auto& [key, bytes] : region.tiles)
            zxy.append(QStringLiteral("%1/%2/%3").arg(key.level).arg(key.column).arg(key.row));
        const QJsonObject read = ReadWithPmtiles(*reader, path, zxy);
        ASSERT_FALSE(read.isEmpty());
        const QJsonObject tiles = read["tiles"].toObject();
        EXPECT_TRUE(tiles[zxy.front()].isNull());
        for (const auto& [key, bytes] : region.tiles)
            EXPECT_EQ(tiles[QStringLiteral("%1/%2/%3").arg(key.level).arg(key.column).arg(key.row)]
                          .toString(),
                      QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
        EXPECT_EQ(read["header"]["minZoom"].toInt(), region.levels.front().level);
        EXPECT_EQ(read["header"]["maxZoom"].toInt(), region.levels.back().level);
        EXPECT_EQ(read["header"]["tileType"].toInt(), 3); // JPEG
        EXPECT_EQ(read["metadata"]["attribution"].toString(), "© Test imagery");
    }
    // Two contents in the big region: each stored once.
    TempDir dir;
    ASSERT_EQ("", Export(dir.file("big.pmtiles"), big));
    EXPECT_LT(QFileInfo(dir.file("big.pmtiles")).size(), 64 * 1024);
}

TEST(TileSets, APngSourceSaysPngInEveryFormatThatNamesIt) {
    if (!HaveTools())
        GTEST_SKIP() << "sqlite3 is not installed";
    TempDir dir;
    ASSERT_EQ("", Export(dir.file("a.mbtiles"), Region(), TileEncoding::Png));
    EXPECT_EQ(Sql(dir.file("a.mbtiles"),
                  "SELECT value FROM metadata WHERE name IN ('format', 'attribution') "
                  "ORDER BY name"),
              "© Test imagery\npng");
}

TEST(TileSets, AnUnfinishedSetLeavesNothingUnderItsName) {
    for (const char* name : {"a.gpkg", "a.sqlitedb", "a.orux", "a.pmtiles"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        {
            const Region region;
            RegionExport out(dir.file(name), *ExportFormatOf(name), region.levels, "", 90);
            ASSERT_TRUE(out.Begin());
            EXPECT_TRUE(out.AddTile(region.tiles.begin()->first, region.tiles.begin()->second));
        }
        EXPECT_TRUE(dir.names().isEmpty()) << dir.names().join(' ').toStdString();
    }
}

TEST(TileSets, AFullDiskKeepsTheEarlierSet) {
    for (const char* name : {"a.gpkg", "a.sqlitedb", "a.orux", "a.pmtiles"}) {
        SCOPED_TRACE(name);
        ExpectFullDiskKeepsTheOldFile(
            name,
            [](const QString& path, bool first) {
                Region region;
                if (first)
                    region.tiles = {*region.tiles.begin()};
                else // more than the disk has left
                    for (auto& [key, bytes] : region.tiles)
                        bytes = QByteArray(16 * 1024, char(key.column));
                return Export(path, region).empty();
            },
            8 * 1024);
    }
}

} // namespace
