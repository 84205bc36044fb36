// SPDX-License-Identifier: GPL-3.0-or-later
// Regions of any shape on the command line of the real executable, against the real demo
// server: the tiles asked for are exactly those GDAL finds meeting the region, each once, in
// the dry run's numbers; bad input is refused before any request.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/orbivist_process.h"
#include "tests/e2e/served_tiles.h"

#include "gis/area_file.h"
#include "store/settings_file.h"
#include "tests/support/full_disk.h"
#include "tests/support/gdal_readback.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/ogr_tiles.h"
#include "tests/support/scripted_tcp_server.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace SettingsLine;

namespace {

// A program directory on the server whose cache is cacheDirectory (its own Cash/ when empty).
TempDir Home(const QString& prefix, const QString& cacheDirectory = {}) {
    TempDir home;
    SettingsLines lines;
    lines.fill(QStringLiteral("-"));
    for (int slot = 0; slot < 4; ++slot)
        lines[ViewTopLeft + slot] = prefix + QStringLiteral("qrst")[slot];
    lines[ModeCacheAndInternet] = "ci";
    lines[PrefixLength] = QString::number(prefix.size());
    lines[PrefillLevel] = "2";
    lines[FetchAttempts] = "1";
    lines[WriteErrorLimit] = lines[ReceiveErrorLimit] = lines[BadFileErrorLimit] = "3";
    lines[RetryInterval] = "1";
    lines[CacheDirectory] = cacheDirectory;
    lines[UseCacheDirectory] = cacheDirectory.isEmpty() ? "-" : "c";
    EXPECT_TRUE(SaveSettings(home.file("ORB.ini"), lines));
    EXPECT_TRUE(QDir().mkpath(home.file("Cash")));
    return home;
}

std::vector<TileKey> Requested(const DemoServerProcess& server) {
    std::vector<TileKey> keys;
    for (const ServedTile& tile : ServedTiles(server))
        keys.push_back(*TileKey::FromLetters(tile.key.substr(1)));
    return keys;
}

// What ogr2ogr makes of one GeoJSON geometry.
QString Converted(const TempDir& dir, const QString& geometry, const QString& name,
                  const QString& driver) {
    dir.write("in.geojson",
              ("{\"type\":\"Feature\",\"properties\":{},\"geometry\":" + geometry + "}").toUtf8());
    QStringList arguments{"-f", driver, dir.file(name), dir.file("in.geojson")};
    if (driver == "GPX")
        arguments << "-nlt"
                  << "MULTILINESTRING";
    ProgramOutput("ogr2ogr", arguments);
    return dir.file(name);
}

class RegionCommandLine : public ::testing::Test {
protected:
    // A program directory whose cache holds levels 3 to 5 of a box over Iberia, fetched by a
    // prefill for the exports to read.
    void PrefillIberia() {
        ASSERT_NE(server.Port(), 0);
        iberiaHome.emplace(Home(server.TilePrefix()));
        ASSERT_EQ(Orbivist(QStringList{"prefill"} + IberiaRegion()).status, 0);
        fetched = Requested(server).size();
    }
    // The arguments that name that directory, the box and the levels.
    QStringList IberiaRegion() const {
        return {"--home", iberiaHome->path(), "--bbox", "-10.5,35.2,3.3,43.8", "--levels", "3-5"};
    }
    // The box's tiles per level as sqlite3 lists them, one "level|count" line each; counted
    // from 17, the levels are numbered down from there and listed from the lowest number.
    static QString IberiaTileCounts(bool fromSeventeen = false) {
        QString counts;
        for (int level = 3; level <= 5; ++level) {
            const QString line =
                QStringLiteral("%1|%2\n")
                    .arg(fromSeventeen ? 17 - level : level)
                    .arg(
                        IntersectingTiles(GeoRegion::Box(-10.5, 35.2, 3.3, 43.8)->Polygons(), level)
                            .size());
            fromSeventeen ? counts.prepend(line) : counts.append(line);
        }
        return counts;
    }

    TempDir dir;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("log")};
    std::optional<TempDir> iberiaHome;
    std::size_t fetched = 0; // tiles the server was asked for by the prefill
};

TEST_F(RegionCommandLine, FetchesExactlyTheTilesMeetingTheRegionInTheDryRunsNumbers) {
    ASSERT_NE(server.Port(), 0);
    // Through the corner shared by tiles 8,4 and 9,5 of level 4.
    const double corner = RowEdgeLatitude(4, 5);
    const QString track = QStringLiteral("{\"type\":\"LineString\",\"coordinates\":[[20,%1],"
                                         "[25,%2]]}")
                              .arg(corner + 2, 0, 'f', 12)
                              .arg(corner - 2, 0, 'f', 12);
    const QString holed = "{\"type\":\"Polygon\",\"coordinates\":[[[10,40],[30,40],[30,55],"
                          "[10,55],[10,40]],[[14,44],[26,44],[26,51],[14,51],[14,44]]]}";
    struct Case {
        const char* name;
        QStringList region;
        int first, last;
        std::vector<GeoPolygon> polygons;
    };
    const QString gpx = Converted(dir, track, "track.gpx", "GPX");
    const QString kml = Converted(dir, holed, "park.kml", "KML");
    const Case cases[] = {
        {"GPX track crossing a tile corner",
         {"--area", gpx, "--buffer", "1000"},
         4,
         7,
         ReadAreaFile(gpx, 1000).polygons},
        {"KML polygon with a hole", {"--area", kml}, 3, 6, ReadAreaFile(kml, 500).polygons},
        {"box across the 180th meridian",
         {"--bbox", "170.3,-20.1,-172.4,-5.2"},
         3,
         5,
         GeoRegion::Box(170.3, -20.1, -172.4, -5.2)->Polygons()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir home = Home(server.TilePrefix());
        const std::size_t before = Requested(server).size();
        const QStringList run = QStringList{"prefill",
                                            "--home",
                                            home.path(),
                                            "--lang",
                                            "en",
                                            "--levels",
                                            QStringLiteral("%1-%2").arg(c.first).arg(c.last)} +
                                c.region;
        const Outcome dry = Orbivist(run + QStringList{"--dry-run"});
        ASSERT_EQ(dry.status, 0) << dry.err.toStdString();
        const QRegularExpressionMatch total =
            QRegularExpression("total: (\\d+) tiles, (\\d+) cached, (\\d+) to fetch")
                .match(dry.err);
        ASSERT_TRUE(total.hasMatch()) << dry.err.toStdString();
        const std::size_t sampled = Requested(server).size() - before;
        EXPECT_EQ(sampled, total.captured(2).toULongLong()); // nothing cached before the samples

        const Outcome real = Orbivist(run);
        ASSERT_EQ(real.status, 0) << real.err.toStdString();
        // The tiles the samples cached are in hand too: the job ends at the whole.
        EXPECT_TRUE(
            real.err.contains(QStringLiteral("Fetched %1 of %1 (100%)").arg(total.captured(1))))
            << real.err.toStdString();
        const std::vector<TileKey> asked = Requested(server);
        const std::vector<TileKey> fetched(
            asked.begin() + static_cast<std::ptrdiff_t>(before + sampled), asked.end());
        EXPECT_EQ(fetched.size(), total.captured(3).toULongLong());
        std::set<TileKey> expected;
        for (int level = c.first; level <= c.last; ++level)
            expected.merge(IntersectingTiles(c.polygons, level));
        const std::set<TileKey> all(asked.begin() + static_cast<std::ptrdiff_t>(before),
                                    asked.end());
        EXPECT_EQ(all.size(), sampled + fetched.size()) << "a tile asked for twice";
        EXPECT_EQ(all, expected);
        EXPECT_EQ(total.captured(1).toULongLong(), expected.size());

        ASSERT_EQ(Orbivist(run).status, 0);
        EXPECT_EQ(Requested(server).size(), asked.size()) << "the second run fetched";
    }
}

TEST_F(RegionCommandLine, ExportsTheRegionAsMbtilesFromTheCache) {
    ASSERT_NO_FATAL_FAILURE(PrefillIberia());
    const QString out = dir.file("iberia.mbtiles");
    const Outcome run = Orbivist(QStringList{"export", "--output", out} + IberiaRegion());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Requested(server).size(), fetched);
    EXPECT_EQ(GdalInfo(out)["driverShortName"].toString(), "MBTiles");
    EXPECT_EQ(ProgramOutput("sqlite3", {out, "SELECT zoom_level, count(*) FROM tiles GROUP BY 1"}),
              IberiaTileCounts());
}

// Every tile set of the same region from the cache, each with the tiles of every level at the
// places its layout gives (z counted down from 17 in the OsmAnd / Locus layout); an OruxMaps
// map exported again replaces the earlier one.
TEST_F(RegionCommandLine, ExportsTheRegionToEveryFormatFromTheCache) {
    ASSERT_NO_FATAL_FAILURE(PrefillIberia());
    const std::pair<const char*, QString> exports[] = {
        {"iberia.gpkg", "SELECT zoom_level, count(*) FROM tiles GROUP BY 1"},
        {"iberia.sqlitedb", "SELECT z, count(*) FROM tiles GROUP BY 1"},
        {"iberia.orux", "SELECT z, count(*) FROM tiles GROUP BY 1"},
        {"iberia.orux", "SELECT z, count(*) FROM tiles GROUP BY 1"},
        {"iberia.pmtiles", ""},
    };
    for (const auto& [name, query] : exports) {
        SCOPED_TRACE(name);
        const QString out = dir.file(name);
        const Outcome run = Orbivist(QStringList{"export", "--output", out} + IberiaRegion());
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString database = out.endsWith(".orux") ? out + "/OruxMapsImages.db" : out;
        if (!query.isEmpty()) {
            EXPECT_EQ(ProgramOutput("sqlite3", {database, query}),
                      IberiaTileCounts(out.endsWith(".sqlitedb")));
        }
    }
    EXPECT_EQ(Requested(server).size(), fetched);
    EXPECT_EQ(GdalInfo(dir.file("iberia.gpkg"))["driverShortName"].toString(), "GPKG");
    EXPECT_TRUE(QFileInfo(dir.file("iberia.pmtiles")).size() > 16384);
}

TEST_F(RegionCommandLine, ARegionLargerThanTheFreeSpaceIsRefusedWithStatusThree) {
    ASSERT_NE(server.Port(), 0);
    SmallTmpfs disk(256);
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    TempDir home = Home(server.TilePrefix(), disk.path());
    const Outcome run =
        Orbivist({"prefill", "--home", home.path(), "--bbox", "-60,-50,60,50", "--levels", "7"});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_LE(Requested(server).size(), 8u); // the sample alone
}

TEST_F(RegionCommandLine, AFullDiskIsSaidAsSuchForEveryOutput) {
    ASSERT_NE(server.Port(), 0);
    SmallTmpfs disk(256);
    if (!disk.mounted() || !disk.FillLeaving(0))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    TempDir home = Home(server.TilePrefix());
    const std::pair<QStringList, int> cases[] = {
        {{"stitch", "--output", disk.file("a.tif"), "--bbox", "0,0,1,1", "--level", "2"}, 3},
        {{"export", "--output", disk.file("a.kmz"), "--bbox", "0,0,1,1", "--levels", "2"}, 1},
    };
    for (const auto& [arguments, status] : cases) {
        const Outcome run =
            Orbivist(QStringList{arguments[0], "--home", home.path()} + arguments.mid(1));
        EXPECT_EQ(run.status, status) << run.err.toStdString();
        EXPECT_TRUE(run.err.trimmed().endsWith(QStringLiteral("нет места на диске")))
            << run.err.toStdString();
    }
    EXPECT_TRUE(disk.Names().isEmpty());
}

TEST_F(RegionCommandLine, BadInputIsRefusedInOneLineBeforeAnyRequest) {
    ASSERT_NE(server.Port(), 0);
    TempDir home = Home(server.TilePrefix());
    dir.write("nothing.geojson", R"({"type":"Feature","properties":{},"geometry":null})");
    dir.write("garbage.gpx", "not a track");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.gpx")).constData(), 0600), 0);
    const QString out = dir.file("a.mbtiles");
    const std::vector<QStringList> cases{
        {"prefill", "--area", dir.file("missing.gpx")},
        {"prefill", "--area", dir.file("garbage.gpx")},
        {"prefill", "--area", dir.file("pipe.gpx")},
        {"prefill", "--area", dir.file("nothing.geojson")},
        {"prefill", "--bbox", "10,50,20,40"},
        {"prefill", "--bbox", "10,50,200,60"},
        {"prefill", "--bbox", "10,50,20"},
        {"prefill", "--bbox", "0,86,10,89", "--levels", "3-5"},
        {"prefill", "--bbox", "0,0,1,1", "--levels", "5-3"},
        {"prefill", "--bbox", "0,0,1,1", "--levels", "2-40"},
        {"prefill", "--area", dir.file("nothing.geojson"), "--buffer", "-5"},
        {"prefill", "--area", dir.file("nothing.geojson"), "--buffer", "200000"},
        {"prefill", "--bbox", "0,0,1,1", "--buffer", "100"},
        {"prefill", "--bbox", "0,0,1,1", "--area", dir.file("garbage.gpx")},
        {"prefill", "--bbox", "0,0,1,1", "--at", "10,10", "--level", "3"},
        {"prefill", "--bbox", "0,0,1,1", "--levels", "3-4", "--depth", "5"},
        {"prefill", "--levels", "3-4"},
        {"prefill", "--dry-run"},
        {"export", "--output", out, "--bbox", "0,0,1,1", "--at", "10,10", "--level", "3"},
        {"stitch", "--output", dir.file("a.jpg"), "--bbox", "0,0,1,1"},
        {"stitch", "--output", dir.file("a.jpg"), "--bbox", "0,0,1,1", "--level", "3", "--columns",
         "2"},
    };
    for (const QStringList& arguments : cases) {
        const Outcome run =
            Orbivist(QStringList{arguments[0], "--home", home.path()} + arguments.mid(1));
        const std::string line = arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.err.count('\n'), 1) << line << run.err.toStdString();
    }
    EXPECT_TRUE(Requested(server).empty());
}

// The rectangle covering a box across the 180th meridian at level 3 is columns 7 and 0.
TEST_F(RegionCommandLine, StitchesTheRectangleCoveringTheRegion) {
    ASSERT_NE(server.Port(), 0);
    TempDir home = Home(server.TilePrefix());
    const QString out = dir.file("pacific.tif");
    const Outcome run = Orbivist({"stitch", "--home", home.path(), "--output", out, "--bbox",
                                  "170.3,-20.1,-172.4,-5.2", "--level", "3"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject info = GdalInfo(out);
    EXPECT_EQ(info["size"].toArray()[0].toInt(), 2 * 256);
    EXPECT_EQ(info["size"].toArray()[1].toInt(), 256);
}

} // namespace

// A GeoTIFF is written one row of tiles at a time; its tiles still come as many at once as the
// source allows, each asked for once.
TEST(StreamedStitch, KeepsTheSourcesConnectionsBusy) {
    TempDir dir;
    DemoServerProcess slow(WriteQuadrantWorld(dir), {"--delay-ms", "100"}, dir.file("log"));
    ASSERT_NE(slow.Port(), 0);
    TempDir home = Home(slow.TilePrefix());
    home.write("MySources.ini",
               QStringLiteral("[wide]\nurl = http://127.0.0.1:%1/{z}/{x}/{y}.jpg\n"
                              "connections = 4\nrate = 1000\nbulk-download = yes\n")
                   .arg(slow.Port())
                   .toUtf8());
    const QString out = dir.file("rows.tif");
    const Outcome run = Orbivist({"stitch", "--home", home.path(), "--source", "wide", "--output",
                                  out, "--bbox", "1,-40,89,40", "--level", "4"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(GdalInfo(out)["size"].toArray()[0].toInt(), 4 * 256); // columns 8 to 11, rows 6 to 9
    QSet<QString> tiles;
    int answers = 0, most = 0;
    static const QRegularExpression asked(QStringLiteral("GET (/4/\\S+) .* open=(\\d+)"));
    for (const QString& line : slow.LogLines())
        if (const QRegularExpressionMatch match = asked.match(line); match.hasMatch()) {
            tiles << match.captured(1);
            ++answers;
            most = std::max(most, match.captured(2).toInt());
        }
    EXPECT_EQ(tiles.size(), 16);
    EXPECT_EQ(answers, 16);
    EXPECT_EQ(most, 4);
}

// The estimate's first sample fails; the walk fetches that tile again, so the job ends with
// every tile in hand and nothing counted missing.
TEST(RegionSamples, ASampleThatFailedIsNotCountedMissingOnceTheWalkHasIt) {
    const QByteArray tile = MakeTestJpeg(256, 256, Qt::darkGreen);
    std::atomic<int> requests = 0;
    ScriptedTcpServer server({}, [&](const QByteArray&) -> QByteArray {
        if (requests++ == 0)
            return "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(tile.size()) +
               "\r\nConnection: close\r\n\r\n" + tile;
    });
    TempDir home = Home(QStringLiteral("http://127.0.0.1:1/unused?t="));
    home.write("MySources.ini", QStringLiteral("[local]\nurl = %1\nconnections = 1\nrate = 1000\n"
                                               "bulk-download = yes\n")
                                    .arg(server.Url("/{z}/{x}/{y}.jpg"))
                                    .toUtf8());
    const Outcome run = Orbivist({"--lang", "en", "prefill", "--home", home.path(), "--source",
                                  "local", "--bbox", "1,1,89,60", "--levels", "3-4"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("missing")) << run.err.toStdString();
    EXPECT_EQ(QDir(home.file("Cash/source-local")).entryList(QDir::Files).size(), 4 + 16);
}
