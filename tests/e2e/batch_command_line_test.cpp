// SPDX-License-Identifier: GPL-3.0-or-later
// The batch commands of the real executable against the real demo tile server.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/orbivist_process.h"

#include "image/jpeg_decode.h"
#include "store/settings_file.h"
#include "tests/support/gdal_readback.h"
#include "tests/support/tile_pixels_image.h"
#include "tiles/region_plan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

using namespace SettingsLine;

namespace {

// A program directory whose settings show the level-1 world of the given prefix.
struct Home {
    TempDir dir;
    explicit Home(const QString& prefix,
                  std::initializer_list<std::pair<int, QString>> changes = {}) {
        SettingsLines lines;
        lines.fill(QStringLiteral("-"));
        const QString quad = QStringLiteral("qrst");
        for (int slot = 0; slot < 4; ++slot)
            lines[ViewTopLeft + slot] = prefix + quad[slot];
        lines[ModeCacheAndInternet] = "ci";
        lines[PrefixLength] = QString::number(prefix.size());
        for (const int line : {LatHemisphere, SearchZoom})
            lines[line] = "0";
        lines[LonHemisphere] = "1";
        lines[StitchColumns] = lines[StitchRows] = "2";
        lines[JpegQuality] = "90";
        lines[PrefillLevel] = "2";
        lines[FetchAttempts] = "1";
        lines[WriteErrorLimit] = lines[ReceiveErrorLimit] = lines[BadFileErrorLimit] = "3";
        lines[CacheDirectory] = "";
        lines[RetryInterval] = "1";
        for (const auto& [line, text] : changes)
            lines[line] = text;
        EXPECT_TRUE(SaveSettings(dir.file("ORB.ini"), lines));
        EXPECT_TRUE(QDir().mkpath(dir.file("Cash")));
    }
    QString path() const { return dir.path(); }
};

// The quadrant letters of every tile the server was asked for, in order.
QStringList RequestedPaths(const DemoServerProcess& server) {
    static const QRegularExpression tile(QStringLiteral("GET \\S*t=t([qrst]+)"));
    QStringList paths;
    for (const QString& line : server.LogLines()) {
        const QRegularExpressionMatch m = tile.match(line);
        if (m.hasMatch())
            paths << m.captured(1);
    }
    return paths;
}

const QString kNobodyListens = QStringLiteral("http://127.0.0.1:1/kh?v=5&n=404&t=t");

class BatchCommandLine : public ::testing::Test {
protected:
    TempDir dir;
    QString world = WriteQuadrantWorld(dir);
};

} // namespace

TEST_F(BatchCommandLine, StitchWritesPictureAndMapFetchingColumnByColumn) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    const QString out = dir.file("world.jpg");
    const Outcome run = Orbivist({"stitch", "--home", home.path(), "--output", out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QFile picture(out);
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    TilePixels image;
    ASSERT_TRUE(DecodeJpeg(picture.readAll(), image));
    EXPECT_EQ(AsImage(image).size(), QSize(512, 512));
    EXPECT_TRUE(QFileInfo::exists(dir.file("world.map")));
    EXPECT_TRUE(QFileInfo::exists(dir.file("world.jgw")));
    EXPECT_TRUE(QFileInfo::exists(dir.file("world.prj")));
    // West column north to south, then the east one; the closing refresh asks for nothing.
    EXPECT_EQ(RequestedPaths(server), QStringList({"q", "t", "r", "s"}));
}

TEST_F(BatchCommandLine, StitchEndsWithItsExitStatus) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());

    // Too large: refused before a single request.
    Outcome run = Orbivist(
        {"stitch", "--home", home.path(), "--output", dir.file("a.jpg"), "--columns", "300"});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("слишком большое изображение")));
    EXPECT_TRUE(RequestedPaths(server).isEmpty());

    // A picture that cannot be written: a failure, said in one line, and no .map.
    run = Orbivist({"stitch", "--home", home.path(), "--output", dir.file("none/a.jpg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(dir.file("none/a.jpg"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("none/a.map")));

    // A name the map file cannot hold: refused before a single request.
    const qsizetype requested = RequestedPaths(server).size();
    run = Orbivist({"stitch", "--home", home.path(), "--output", dir.file("日本.jpg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("windows-1251")) << run.err.toStdString();
    EXPECT_EQ(RequestedPaths(server).size(), requested);

    // Bad arguments.
    run = Orbivist({"stitch", "--home", home.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.isEmpty());
}

TEST_F(BatchCommandLine, ErrorLimitStopsWithTheMessage) {
    // Nothing listens on the prefix's port: every request is a receive error.
    Home home(QStringLiteral("http://127.0.0.1:1/kh?v=5&n=404&t=t"), {{ReceiveErrorLimit, "2"}});
    const Outcome run = Orbivist({"stitch", "--home", home.path(), "--output", dir.file("a.jpg")});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "Закачка остановлена - превышен предел ошибок. Выявлено ошибок: записи -  0; "
        "получения - 2; ошибочных файлов - 0; ")))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("a.jpg")));
}

TEST_F(BatchCommandLine, JobTextsFollowTheChosenLanguage) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home served(server.TilePrefix());
    Home unserved(kNobodyListens, {{ReceiveErrorLimit, "2"}});
    const QString out = dir.file("a.jpg");
    struct Case {
        const Home& home;
        QStringList extra;  // arguments after the home
        const char* locale; // LC_ALL of the run
        int status;
        const char* text; // on standard error
    };
    const Case cases[] = {
        {served, {"--lang", "en"}, "C.UTF-8", 0, "starting..."},
        {served, {}, "en_GB.UTF-8", 0, "starting..."},
        {served, {"--lang=ru"}, "en_US.UTF-8", 0, "начало..."},
        {unserved,
         {"--lang", "en"},
         "ru_RU.UTF-8",
         2,
         "errors: Download stopped - error limit exceeded. Errors found: write - 0; receive - 2"},
        {served, {"--lang", "en", "--columns", "300"}, "C.UTF-8", 3, "picture too large"},
    };
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    for (const Case& c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromUtf8(c.locale));
        process.setProcessEnvironment(env);
        Start(process, QStringList{"stitch", "--home", c.home.path(), "--output", out} + c.extra);
        const Outcome run = Finish(process);
        const std::string line = (c.extra.join(' ') + ' ' + c.locale).toStdString();
        EXPECT_EQ(run.status, c.status) << line << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.text))) << line << run.err.toStdString();
        if (!QString::fromUtf8(c.text).contains(cyrillic)) { // English runs say no Russian
            EXPECT_FALSE(run.err.contains(cyrillic)) << line << run.err.toStdString();
        }
    }
}

TEST_F(BatchCommandLine, PrefillVisitsBlocksInOrderAndASecondRunAsksForNothing) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    Outcome run = Orbivist({"prefill", "--home", home.path(), "--depth", "2"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList first = RequestedPaths(server);
    ASSERT_EQ(first.size(), 16);
    // The first block of the first column of blocks, in slot order, then the one below it.
    EXPECT_EQ(first.mid(0, 8), QStringList({"qq", "qr", "qs", "qt", "tq", "tr", "ts", "tt"}));
    EXPECT_EQ(QDir(home.dir.file("Cash")).entryList(QDir::Files).size(), 16);

    run = Orbivist({"prefill", "--home", home.path(), "--depth", "2"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(RequestedPaths(server).size(), 16); // all from the cache
}

TEST_F(BatchCommandLine, PrefillRefusesDepthsItCannotDo) {
    Home home(QStringLiteral("http://127.0.0.1:1/kh?v=5&n=404&t=t"));
    for (const char* depth : {"1", "14", "x"}) {
        const Outcome run = Orbivist({"prefill", "--home", home.path(), "--depth", depth});
        EXPECT_EQ(run.status, 1) << depth;
        EXPECT_FALSE(run.err.trimmed().isEmpty()) << depth;
    }
}

TEST_F(BatchCommandLine, CtrlCCancelsAtTheNextCheck) {
    DemoServerProcess server(world, {"--delay-ms", "200"}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    QProcess process;
    Start(process, {"prefill", "--home", home.path(), "--depth", "5"});
    ASSERT_TRUE(process.waitForStarted());
    // Wait until the job is fetching, then interrupt it as a terminal would.
    for (int i = 0; i < 100 && RequestedPaths(server).size() < 3; ++i)
        QThread::msleep(100);
    kill(static_cast<pid_t>(process.processId()), SIGINT);
    const Outcome run = Finish(process);
    EXPECT_EQ(run.status, 4) << run.err.toStdString();
    EXPECT_TRUE(run.err.trimmed().endsWith(QStringLiteral("orbivist: отменено")))
        << run.err.toStdString();
    // The request the cancel cut short is no receive error.
    const QStringList lines = run.err.split('\n');
    const auto progress = std::find_if(lines.rbegin(), lines.rend(), [](const QString& line) {
        return line.contains(QStringLiteral("ошибок: получения"));
    });
    ASSERT_NE(progress, lines.rend()) << run.err.toStdString();
    EXPECT_TRUE(progress->contains(QStringLiteral("получения 0,"))) << progress->toStdString();
    EXPECT_LT(RequestedPaths(server).size(), 256);
}

TEST_F(BatchCommandLine, WhatCannotBeRunIsRefusedInOneLineBeforeAnyRequest) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    dir.write("plain", "a file, not a folder");
    const QString out = dir.file("a.jpg");
    const std::vector<QStringList> cases{
        {"stitch", "--output", out, "--columns", "abc", "--rows", "abc"},
        {"stitch", "--output", out, "--columns", "1e9"},
        {"stitch", "--output", out, "--columns", "-1"},
        {"stitch", "--output", out, "--rows", "99999999999"},
        {"prefill", "--depth", "2x"},
        {"prefill", "--at", "nan,nan", "--level", "3"},
        {"stitch", "--output", out, "-platform", "xcb"},
        {"stitch", "--output", out, "--output", dir.file("b.jpg")},
        {"prefill", "--user", "ivan"},
        {"stitch", "--output", "--help"},
        {"stitch", "--output", "/dev/null"},
        {"stitch", "--output", dir.file("none/a.jpg")},
        {"stitch", "--output", dir.file("plain/a.jpg")},
        {"stitch", "--output", out, "--lang", "de"},
        {"stitch", "--output", dir.file(QString(252, 'a') + ".jpg")},
        {"export", "--output", dir.file(QString(248, 'a') + ".mbtiles"), "--depth", "2"},
    };
    for (const QStringList& arguments : cases) {
        const Outcome run =
            Orbivist(QStringList{arguments[0], "--home", home.path()} + arguments.mid(1));
        const QString line = arguments.join(' ');
        EXPECT_EQ(run.status, 1) << line.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << line.toStdString() << run.err.toStdString();
    }
    EXPECT_TRUE(RequestedPaths(server).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
}

TEST_F(BatchCommandLine, CtrlCEndsAWaitForASilentServerOrARetryPauseAtOnce) {
    DemoServerProcess silent(world, {"--delay-ms", "600000"}, dir.file("log"));
    ASSERT_NE(silent.Port(), 0);
    const std::vector<std::pair<const char*, QString>> cases{
        {"silent server", silent.TilePrefix()},
        {"retry pause", kNobodyListens},
    };
    for (const auto& [what, prefix] : cases) {
        Home home(prefix, {{FetchAttempts, "3"}, {RetryInterval, "60"}});
        QProcess process;
        Start(process, {"stitch", "--home", home.path(), "--output", dir.file("a.jpg")});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(1500); // well into the first tile
        QElapsedTimer cancelled;
        cancelled.start();
        kill(static_cast<pid_t>(process.processId()), SIGINT);
        const Outcome run = Finish(process);
        EXPECT_EQ(run.status, 4) << what << run.err.toStdString();
        EXPECT_LT(cancelled.elapsed(), 10000) << what;
    }
}

TEST_F(BatchCommandLine, OnlyHangUpHangsUpAndDialNeedsNoUser) {
    Home home(kNobodyListens);
    const QStringList tooLarge{"stitch",          "--home",    home.path(), "--output",
                               dir.file("a.jpg"), "--columns", "300"};
    struct Case {
        QStringList extra;
        bool hangsUp;
    };
    for (const Case& c :
         {Case{{"--delay", "0:00"}, false}, Case{{"--dial", "orbivist-no-such-peer"}, false},
          Case{{"--hang-up"}, true}}) {
        const Outcome run = Orbivist(tooLarge + c.extra);
        EXPECT_EQ(run.status, 3) << c.extra.join(' ').toStdString() << run.err.toStdString();
        EXPECT_EQ(run.err.contains(QStringLiteral("Отключение...")), c.hangsUp)
            << c.extra.join(' ').toStdString();
    }
}

TEST_F(BatchCommandLine, TilesThatCouldNotBeObtainedAreCountedOnTheLastLineWithStatusFive) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home served(server.TilePrefix());
    ASSERT_TRUE(QDir().mkpath(dir.file("sub")));
    // A name without an extension gets .jpg, and the map lands beside it.
    Outcome run = Orbivist({"stitch", "--home", served.path(), "--output", dir.file("sub/pic")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(dir.file("sub/pic.jpg")).isFile());
    EXPECT_TRUE(QFileInfo(dir.file("sub/pic.map")).isFile());
    run = Orbivist({"prefill", "--home", served.path(), "--depth", "2"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    // The same cache but one tile short, and no server to fetch it from.
    Home offline(kNobodyListens);
    for (const QString& tile : QDir(served.dir.file("Cash")).entryList(QDir::Files)) {
        if (tile != "t.jpg" && tile != "tt.jpg")
            QFile::copy(served.dir.file("Cash/" + tile), offline.dir.file("Cash/" + tile));
    }
    for (const auto& [arguments, summary] : std::vector<std::pair<QStringList, QString>>{
             {{"stitch", "--output", dir.file("b.jpg")}, "1 из 4 фрагментов"},
             {{"prefill", "--depth", "2"}, "1 из 16 фрагментов"}}) {
        run = Orbivist(QStringList{arguments[0], "--home", offline.path()} + arguments.mid(1));
        EXPECT_EQ(run.status, 5) << run.err.toStdString();
        EXPECT_TRUE(run.err.trimmed().split('\n').last().contains(summary))
            << run.err.toStdString();
    }
}

// Levels 1 to 3 of the level-1 world: GDAL reads the MBTiles file with its levels and bounds,
// and each tile sits in its TMS row with the bytes the cache holds.
TEST_F(BatchCommandLine, ExportWritesEveryLevelAsMbtilesThatGdalReads) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    const QString out = dir.file("world.mbtiles");
    const Outcome run =
        Orbivist({"export", "--home", home.path(), "--output", out, "--depth", "3"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(RequestedPaths(server).size(), 4 + 16 + 64);

    const QJsonObject info = GdalInfo(out);
    EXPECT_EQ(info["driverShortName"].toString(), "MBTiles");
    ExpectCornersOnBlock(info, PlanRegion(TileKey{1, 0, 0}, 3).back());
    const QJsonObject metadata = info["metadata"][""].toObject();
    EXPECT_EQ(metadata["minzoom"].toString(), "1");
    EXPECT_EQ(metadata["maxzoom"].toString(), "3");
    EXPECT_EQ(ProgramOutput("sqlite3", {out, "SELECT zoom_level, count(*) FROM tiles GROUP BY 1"}),
              "1|4\n2|16\n3|64\n");
    // "t" is the level-1 tile in the south-west: row 0 counted from the south.
    const QByteArray cached = home.dir.read("Cash/t.jpg");
    ASSERT_FALSE(cached.isEmpty());
    EXPECT_EQ(ProgramOutput("sqlite3", {out, "SELECT hex(tile_data) FROM tiles WHERE "
                                             "zoom_level = 1 AND tile_column = 0 AND tile_row = 0"})
                  .trimmed(),
              cached.toHex().toUpper());
}

// Level 3 of the world is 8 × 8 tiles, four overlays of 4 × 4 on their tiles; level 6
// would be 256 overlays, refused before a single request.
TEST_F(BatchCommandLine, ExportWritesKmzOverlaysOfTheDeepestLevelAndRefusesTooMany) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    const QString out = dir.file("world.kmz");
    Outcome run = Orbivist({"export", "--home", home.path(), "--output", out, "--depth", "6"});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("KMZ")) << run.err.toStdString();
    EXPECT_TRUE(RequestedPaths(server).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));

    run = Orbivist({"export", "--home", home.path(), "--output", out, "--depth", "3"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(RequestedPaths(server).size(), 64);
    const QList<Overlay> overlays = Overlays(ProgramOutput("unzip", {"-p", out, "doc.kml"}));
    ASSERT_EQ(overlays.size(), 4);
    for (int p = 0; p < 4; ++p) {
        const GeoBounds b = BlockBounds({3, 4 * (p % 2), 4 * (p / 2), 4, 4});
        EXPECT_NEAR(overlays[p].north, b.north, 1e-9) << p;
        EXPECT_NEAR(overlays[p].south, b.south, 1e-9) << p;
        EXPECT_NEAR(overlays[p].west, b.west, 1e-9) << p;
        EXPECT_NEAR(overlays[p].east, b.east, 1e-9) << p;
    }
}

TEST_F(BatchCommandLine, ACancelledExportLeavesNoFile) {
    DemoServerProcess server(world, {"--delay-ms", "200"}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    Home home(server.TilePrefix());
    QProcess process;
    Start(process, {"export", "--home", home.path(), "--output", dir.file("region.mbtiles"),
                    "--depth", "4"});
    ASSERT_TRUE(process.waitForStarted());
    for (int i = 0; i < 100 && RequestedPaths(server).size() < 6; ++i)
        QThread::msleep(100);
    kill(static_cast<pid_t>(process.processId()), SIGINT);
    const Outcome run = Finish(process);
    EXPECT_EQ(run.status, 4) << run.err.toStdString();
    EXPECT_EQ(
        QDir(dir.path()).entryList({"region*", ".orbivist*"}, QDir::AllEntries | QDir::Hidden),
        QStringList());
}

namespace {

// Run where no display is: whatever the command line holds must not reach Qt's display plugin.
Outcome WithoutDisplay(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    Start(process, arguments);
    return Finish(process);
}

} // namespace

TEST_F(BatchCommandLine, EachFailureEndsOnALineThatSaysWhyWithItsStatus) {
    Home down(kNobodyListens);
    const QString out = dir.file("a.jpg");
    const QStringList stitch{"stitch", "--home", down.path(), "--output", out};
    const struct {
        QStringList arguments;
        int status;
        const char* lastLine;
    } cases[] = {
        {QStringList{"--lang", "en"} + stitch, 2,
         "orbivist: stopped at the error limit: connection refused 127.0.0.1:1 ("},
        {stitch + QStringList{"--lang", "en", "--max-errors", "receive=1"}, 2,
         "orbivist: stopped at the error limit: connection refused 127.0.0.1:1 (1 of 1"},
        {{"--lang", "en", "stich"}, 1, "orbivist: unknown command \"stich\""},
        {stitch + QStringList{"--lang", "en", "--quality", "10"}, 1,
         "orbivist: bad value for --quality: 10 (a whole number from 20 to 100)"},
        // Without --lang the run is Russian (the locale is C), every line of it.
        {stitch, 2, "orbivist: остановлено по пределу ошибок: соединение отклонено 127.0.0.1:1 ("},
        {{"stich", "--lang", "ru"}, 1, "orbivist: неизвестная команда \"stich\""},
        {{"--home", down.path(), "extra"}, 1, "orbivist: неизвестная команда \"extra\""},
        {stitch + QStringList{"extra"}, 1, "orbivist: лишний аргумент extra"},
        {stitch + QStringList{"--quality", "10"}, 1,
         "orbivist: неверное значение --quality: 10 (целое число от 20 до 100)"},
        {stitch + QStringList{"--lang", "de"}, 1, "orbivist: --lang принимает en или ru"},
    };
    for (const auto& c : cases) {
        const Outcome run = WithoutDisplay(c.arguments);
        const QString line = c.arguments.join(' ');
        EXPECT_EQ(run.status, c.status) << line.toStdString() << '\n' << run.err.toStdString();
        const QString last = run.err.trimmed().split('\n').constLast();
        EXPECT_TRUE(last.startsWith(QString::fromUtf8(c.lastLine))) << line.toStdString() << '\n'
                                                                    << run.err.toStdString();
        const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
        if (c.arguments.contains("en")) {
            EXPECT_FALSE(run.err.contains(cyrillic)) << run.err.toStdString();
            EXPECT_FALSE(run.err.contains(QRegularExpression("\\d,\\d"))) << run.err.toStdString();
        } else { // no English word but the program's and the options' names
            for (const QString& said : run.err.trimmed().split('\n')) {
                EXPECT_TRUE(said.contains(cyrillic)) << said.toStdString();
            }
        }
    }
    // Nothing was fetched, and the progress says so.
    const Outcome run = WithoutDisplay(QStringList{"--lang", "en"} + stitch);
    EXPECT_TRUE(run.err.contains("Fetched 0 of 4 (0%)")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

// The stand-ins of a stitch's picture: the 256-pixel cells that are plain light grey but
// for dark text.
int StandInsWithText(const QString& picture) {
    QFile file(picture);
    TilePixels decoded;
    if (!file.open(QIODevice::ReadOnly) || !DecodeJpeg(file.readAll(), decoded))
        return -1;
    const QImage image = AsImage(decoded);
    int found = 0;
    for (int top = 0; top < image.height(); top += 256)
        for (int left = 0; left < image.width(); left += 256) {
            int grey = 0, dark = 0;
            for (int y = top; y < top + 256; ++y)
                for (int x = left; x < left + 256; ++x) {
                    const int level = qGray(image.pixel(x, y));
                    grey += std::abs(level - 192) < 8;
                    dark += level < 64;
                }
            found += grey > 256 * 256 * 9 / 10 && dark > 20;
        }
    return found;
}

// A stitch whose tiles are all in the cache starts without the GUI its stand-ins' text
// needs; a cached tile that is there but not usable still gets its stand-in with the text.
TEST_F(BatchCommandLine, StandInsKeepTheirTextWithoutTheNetwork) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    const Home filled(server.TilePrefix());
    ASSERT_EQ(Orbivist({"stitch", "--home", filled.path(), "--output", dir.file("a.jpg")}).status,
              0);
    const QString cache = filled.path() + "/Cash/";
    const QStringList tiles = QDir(cache).entryList({"*.jpg"});
    ASSERT_EQ(tiles.size(), 4);
    // The first frame header's precision, 8, made 12: still laid out as a tile, but the
    // decoder refuses it.
    const auto undecodable = [](QByteArray bytes) {
        const qsizetype frame = bytes.indexOf("\xFF\xC0");
        if (frame > 0)
            bytes[frame + 4] = 12;
        return bytes;
    };
    const auto gone = [](const QByteArray&) { return QByteArray(); };
    const struct {
        const char* what;
        std::function<QByteArray(QByteArray)> spoil;
        bool onlyCache;
        int status;
    } cases[] = {
        {"a tile not in the cache", gone, true, 0},
        {"a cached tile that does not decode", undecodable, true, 5},
        {"a cached tile that does not decode nor comes", undecodable, false, 5},
    };
    for (const auto& c : cases) {
        const Home home =
            c.onlyCache ? Home(kNobodyListens, {{ModeCacheOnly, "c"}, {ModeCacheAndInternet, "-"}})
                        : Home(kNobodyListens);
        for (const QString& tile : tiles) {
            QFile from(cache + tile), to(home.path() + "/Cash/" + tile);
            ASSERT_TRUE(from.open(QIODevice::ReadOnly));
            const QByteArray bytes = tile == tiles[1] ? c.spoil(from.readAll()) : from.readAll();
            ASSERT_TRUE(bytes.isEmpty() || (to.open(QIODevice::WriteOnly) && to.write(bytes)));
        }
        const QString picture = home.path() + "/b.jpg";
        const Outcome run = Orbivist({"stitch", "--home", home.path(), "--output", picture});
        EXPECT_EQ(run.status, c.status) << c.what << run.err.toStdString();
        EXPECT_EQ(StandInsWithText(picture), 1) << c.what;
    }
}

// Without its text plugin, which a package may lack, a stitch still ends as usual; its
// stand-ins are plain grey.
TEST_F(BatchCommandLine, WithoutTheTextPluginStandInsArePlainGrey) {
    const QString bare = dir.file("bare/orbivist"), picture = dir.file("grey.jpg");
    ASSERT_TRUE(QDir().mkpath(dir.file("bare")));
    ASSERT_TRUE(QFile::copy(ORBIVIST_BUILD_DIR "/orbivist", bare));
    ASSERT_TRUE(QFile::copy(ORBIVIST_BUILD_DIR "/Sources.ini", dir.file("bare/Sources.ini")));
    // Nothing cached: each tile's stand-in says so, and the job is done.
    const Home home(kNobodyListens, {{ModeCacheOnly, "c"}, {ModeCacheAndInternet, "-"}});
    QProcess process;
    process.setProgram(bare);
    process.setArguments({"stitch", "--home", home.path(), "--output", picture});
    process.start();
    EXPECT_EQ(Finish(process).status, 0);
    QFile file(picture);
    TilePixels decoded;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly) && DecodeJpeg(file.readAll(), decoded));
    int other = 0;
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width(); ++x)
            other += std::abs(qGray(decoded.Pixel(x, y)) - 192) >= 8;
    EXPECT_EQ(decoded.width() * decoded.height(), 512 * 512);
    EXPECT_EQ(other, 0);
}

// Only a stitch draws text (its stand-ins for missing tiles), so only it loads a platform, the
// offscreen one, and only when a tile is not in the cache yet; no command, nor --version or
// --help, loads Qt Widgets; only a command that writes a database loads SQLite. The dynamic
// loader's own log tells.
TEST_F(BatchCommandLine, OnlyAStitchLoadsAPlatformPlugin) {
    DemoServerProcess server(world, {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    const Home home(server.TilePrefix()), down(kNobodyListens);
    const QStringList stitch{"stitch", "--home", home.path(), "--output", dir.file("a.jpg")};
    const std::tuple<QStringList, int, QString, bool> cases[] = {
        {stitch, 0, "libqoffscreen.so", false},
        {stitch, 0, "", false}, // every tile is in the cache now
        {{"prefill", "--home", home.path(), "--depth", "2"}, 0, "", false},
        {{"prefill", "--home", down.path(), "--depth", "2"}, 2, "", false}, // grey stand-ins
        {{"export", "--home", home.path(), "--output", dir.file("a.mbtiles"), "--depth", "2"},
         0,
         "",
         true},
        {{"--version"}, 0, "", false},
        {{"--help"}, 0, "", false},
        {{"stitch", "--help"}, 0, "", false},
    };
    int run = 0;
    for (const auto& [arguments, status, plugins, sqlite] : cases) {
        const QString log = QStringLiteral("ld%1").arg(++run);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_DEBUG", "files");
        environment.insert("LD_DEBUG_OUTPUT", dir.file(log));
        process.setProcessEnvironment(environment);
        EXPECT_EQ(Finish(*Start(process, arguments)).status, status) << log.toStdString();
        QStringList loaded;
        bool widgets = false, sqliteLoaded = false;
        for (const QFileInfo& file : QDir(dir.path()).entryInfoList({log + ".*"})) {
            QFile text(file.filePath());
            const QRegularExpression plugin("file=\\S*/platforms/(\\S+\\.so)");
            if (!text.open(QIODevice::ReadOnly))
                continue;
            const QByteArray said = text.readAll();
            for (auto m = plugin.globalMatch(said); m.hasNext();)
                loaded << m.next().captured(1);
            widgets |= said.contains("libQt6Widgets");
            sqliteLoaded |= said.contains("file=libsqlite3");
        }
        loaded.removeDuplicates();
        EXPECT_EQ(loaded.join(' '), plugins) << log.toStdString();
        EXPECT_FALSE(widgets) << log.toStdString();
        EXPECT_EQ(sqliteLoaded, sqlite) << log.toStdString();
    }
}
