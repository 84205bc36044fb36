// SPDX-License-Identifier: GPL-3.0-or-later
// The executable on a template source served over HTTPS by nginx in front of the demo server,
// chosen with --source and through MySources.ini in the program directory.
#include "store/settings_schema.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/orbivist_process.h"
#include "tests/e2e/tls_front.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/scripted_tcp_server.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace {

class SourceChoice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0);
        if (front.Port() == 0)
            GTEST_SKIP() << front.Problem().toStdString();
        qputenv("ORBIVIST_CA_FILE", front.CaFile().toLocal8Bit()); // for the executable

        // The design settings: the level-1 world of the demo prefix.
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(DesignSettings())));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
        const QString url = front.Url(QStringLiteral("/{z}/{x}/{y}.jpg"));
        home.write("MySources.ini", QStringLiteral("[secure]\ntitle = Secure\nurl = %1\n"
                                                   "levels = 1-3\nconnections = 2\nrate = 1000\n"
                                                   "bulk-download = yes\n\n"
                                                   "[viewonly]\ntitle = View only\nurl = %1\n\n"
                                                   "[deep]\ntitle = Deep\nurl = %1\n"
                                                   "levels = 2-3\nbulk-download = yes\n")
                                        .arg(url)
                                        .toUtf8());
    }

    TempDir dir;
    TempDir home;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("log")};
    TlsFront front{dir, server.Port()};

    void TearDown() override { qunsetenv("ORBIVIST_CA_FILE"); }
};

} // namespace

TEST_F(SourceChoice, PrefillOverHttpsLandsInTheSourcesOwnFolder) {
    const Outcome run =
        Orbivist({"prefill", "--home", home.path(), "--source", "SECURE", "--depth", "3"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QDir folder(home.file("Cash/source-secure"));
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 64);
    EXPECT_TRUE(QDir(home.file("Cash")).entryList(QDir::Files).isEmpty()); // demo tiles: none
    // Read ahead 16 at a time in the job's own order: each tile asked for once.
    EXPECT_EQ(server.LogLines().filter(QStringLiteral("GET")).size(), 64);
    // The tile the demo server makes for the same place, byte for byte: column 6, row 3.
    QFile tile(folder.filePath("rst.jpg"));
    ASSERT_TRUE(tile.open(QIODevice::ReadOnly));
    const RawReply served = RawGet(server.Port(), "/3/6/3.jpg");
    EXPECT_EQ(tile.readAll(), QByteArray::fromStdString(served.body));
}

TEST_F(SourceChoice, AnUntrustedCertificateIsNamedOnTheLastLine) {
    qunsetenv("ORBIVIST_CA_FILE"); // the server's own CA is trusted no more
    const Outcome run =
        Orbivist({"--lang", "en", "stitch", "--home", home.path(), "--source", "secure", "--output",
                  dir.file("a.jpg"), "--retries", "1", "--max-errors", "receive=1"});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.trimmed().split('\n').constLast().startsWith(
        "orbivist: stopped at the error limit: certificate not trusted: "))
        << run.err.toStdString();
    EXPECT_TRUE(server.LogLines().filter(QStringLiteral("GET")).isEmpty());
}

TEST_F(SourceChoice, UnknownSourcesBulkAndLevelsAreRefusedBeforeAnyRequest) {
    struct Case {
        QStringList arguments;
        QString said;
    };
    const QString out = dir.file("a.jpg");
    const Case cases[] = {
        {{"prefill", "--source", "nowhere"},
         "неизвестный источник \"nowhere\"; источники: demo, nasa-gibs-modis, usgs-imagery, "
         "eox-s2cloudless, osm-standard, secure, viewonly"},
        {{"stitch", "--output", out, "--source", "nowhere"}, "osm-standard, secure, viewonly"},
        {{"prefill", "--source", "viewonly"}, "«View only» не разрешает массовое скачивание"},
        {{"stitch", "--output", out, "--source", "viewonly"}, "не разрешает массовое скачивание"},
        {{"prefill", "--source", "secure", "--depth", "4"}, "Уровня 4 у источника «Secure» нет"},
        {{"export", "--output", dir.file("a.mbtiles"), "--source", "deep", "--depth", "3"},
         "Уровня 1 у источника «Deep» нет"},
    };
    for (const Case& c : cases) {
        const QStringList arguments =
            QStringList{c.arguments[0], "--home", home.path()} + c.arguments.mid(1);
        const Outcome run = Orbivist(arguments);
        EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_TRUE(server.LogLines().filter(QStringLiteral("GET")).isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

// A tile the read-ahead could not get is fetched by the job itself, which alone counts its
// failures: with one receive error allowed, a failure in the read-ahead alone leaves the job
// clean, and a second one, the job's own, ends it at the limit.
TEST(SourceReadAhead, LeavesTheCountersToTheJob) {
    struct Case {
        int failures; // of the tile at column 1, row 1 of level 2, before it is served
        int status;
        int asked;
    };
    for (const Case c : {Case{1, 0, 2}, Case{2, 2, 2}}) {
        std::mutex mutex;
        std::map<QByteArray, int> asked;
        const QByteArray tile = MakeTestJpeg(256, 256, Qt::darkGreen);
        ScriptedTcpServer server({}, [&](const QByteArray& request) -> QByteArray {
            const QByteArray target = request.split(' ').value(1);
            std::lock_guard lock(mutex);
            if (target == "/2/1/1.jpg" && ++asked[target] <= c.failures)
                return "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            if (target != "/2/1/1.jpg")
                ++asked[target];
            return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(tile.size()) +
                   "\r\nConnection: close\r\n\r\n" + tile;
        });
        TempDir home;
        Settings settings = DesignSettings();
        settings.receiveErrorLimit = 1;
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings)));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
        home.write("MySources.ini",
                   QStringLiteral("[local]\nurl = %1\nconnections = 4\nrate = 1000\n"
                                  "bulk-download = yes\n")
                       .arg(server.Url("/{z}/{x}/{y}.jpg"))
                       .toUtf8());
        const Outcome run =
            Orbivist({"prefill", "--home", home.path(), "--source", "local", "--depth", "2"});
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        std::lock_guard lock(mutex);
        EXPECT_EQ(asked["/2/1/1.jpg"], c.asked);
        if (c.status == 0) {
            EXPECT_EQ(asked.size(), 16u);
            for (const auto& [target, times] : asked)
                EXPECT_EQ(times, target == "/2/1/1.jpg" ? 2 : 1) << target.toStdString();
            EXPECT_EQ(QDir(home.file("Cash/source-local")).entryList(QDir::Files).size(), 16);
        }
    }
}
