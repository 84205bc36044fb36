// SPDX-License-Identifier: GPL-3.0-or-later
// Cached tiles asked about again, and a source's pace, against nginx serving tiles as files
// with their validators: what the server saw, and what the cache holds afterwards.
#include "store/settings_schema.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/orbivist_process.h"
#include "tests/e2e/tls_front.h"
#include "tests/support/jpeg_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>

namespace {

// One request of the server's log.
struct Asked {
    double atSeconds = 0;
    int status = 0;
    QString target, ifModifiedSince, ifNoneMatch, pragma, cacheControl;
    qint64 bytes = 0; // of the body sent
    qint64 connection = 0;
    double tookSeconds = 0;
};

std::vector<Asked> AskedOf(const QByteArray& log) {
    std::vector<Asked> asked;
    for (const QByteArray& line : log.split('\n')) {
        const QList<QByteArray> quoted = line.split('"'); // time status "req" "ims" "inm" ...
        if (quoted.size() < 10)
            continue;
        const QList<QByteArray> head = quoted[0].trimmed().split(' ');
        asked.push_back({head.value(0).toDouble(), head.value(1).toInt(),
                         QString::fromUtf8(quoted[1].split(' ').value(1)),
                         QString::fromUtf8(quoted[3]), QString::fromUtf8(quoted[5]),
                         QString::fromUtf8(quoted[7]), QString::fromUtf8(quoted[9])});
        const QList<QByteArray> tail = quoted.value(10).trimmed().split(' ');
        asked.back().bytes = tail.value(0).toLongLong();
        asked.back().connection = tail.value(1).toLongLong();
        asked.back().tookSeconds = tail.value(2).toDouble();
    }
    return asked;
}

// The most the server saw in any second from one of its requests on, each request counted
// as weight says: one, or the bytes it sent.
qint64 BusiestSecond(const std::vector<Asked>& asked,
                     const std::function<qint64(const Asked&)>& weight) {
    qint64 busiest = 0;
    for (const Asked& first : asked) {
        qint64 within = 0;
        for (const Asked& a : asked)
            if (a.atSeconds >= first.atSeconds && a.atSeconds < first.atSeconds + 1)
                within += weight(a);
        busiest = std::max(busiest, within);
    }
    return busiest;
}

// A cache file as it stands: its inode and bytes.
struct FileState {
    ino_t inode = 0;
    QByteArray bytes;
    bool operator==(const FileState&) const = default;
};

std::map<QString, FileState> CacheFiles(const QString& folder) {
    std::map<QString, FileState> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        struct stat status {};
        ::stat(QFile::encodeName(info.filePath()).constData(), &status);
        QFile file(info.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[info.fileName()] = {status.st_ino, file.readAll()};
    }
    return files;
}

class FreshTiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0);
        if (front->Port() == 0)
            GTEST_SKIP() << front->Problem().toStdString();
        qputenv("ORBIVIST_CA_FILE", front->CaFile().toLocal8Bit());
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(DesignSettings())));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
        // The 16 tiles of level 2 as files, each of its own colour.
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 4; ++y)
                Serve(x, y, QColor::fromHsv(x * 80 + y * 20, 200, 200));
        const QString url = front->Url(QStringLiteral("/static/{z}/{x}/{y}.jpg"));
        home.write("MySources.ini",
                   QStringLiteral("[fresh]\nurl = %1\nlevels = 1-3\nconnections = 4\nrate = 1000\n"
                                  "bulk-download = yes\n\n"
                                  "[paced]\nurl = %1\nlevels = 1-3\nconnections = 4\nrate = 5\n"
                                  "bulk-download = yes\n\n"
                                  "[quota]\nurl = %1\nlevels = 1-3\nconnections = 4\nrate = 1000\n"
                                  "daily-limit = 6\nbulk-download = yes\n")
                       .arg(url)
                       .toUtf8());
    }
    void TearDown() override { qunsetenv("ORBIVIST_CA_FILE"); }

    void Serve(int x, int y, QColor colour) {
        const QString path = dir.file(QStringLiteral("static/2/%1/%2.jpg").arg(x).arg(y));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(MakeTestJpeg(256, 256, colour));
    }

    Outcome Prefill(const QString& source, const QStringList& more = {}) {
        return Orbivist(QStringList{"--lang", "en", "prefill", "--home", home.path(), "--source",
                                    source, "--depth", "2", "--retries", "1"} +
                        more);
    }

    TempDir dir;
    TempDir home;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("log")};
    std::unique_ptr<TlsFront> front = std::make_unique<TlsFront>(dir, server.Port());
};

} // namespace

TEST_F(FreshTiles, ARefreshAsksConditionallyKeepsWhatIsUnchangedAndReplacesWhatChanged) {
    ASSERT_EQ(Prefill("fresh").status, 0);
    const QString folder = home.file("Cash/source-fresh");
    const std::map<QString, FileState> before = CacheFiles(folder);
    ASSERT_EQ(before.size(), 16u);
    const std::size_t firstRun = AskedOf(dir.read("static.log")).size();
    EXPECT_EQ(firstRun, 16u);

    // One tile changes on the server, later than the cache's copy.
    Serve(1, 2, Qt::black);
    QFile changed(dir.file("static/2/1/2.jpg"));
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60),
                                    QFileDevice::FileModificationTime));
    const Outcome refresh = Prefill("fresh", {"--refresh-older-than", "0"});
    ASSERT_EQ(refresh.status, 0) << refresh.err.toStdString();
    EXPECT_TRUE(refresh.err.contains("cache refresh: 15 confirmed, 1 replaced, 0 kept stale"))
        << refresh.err.toStdString();
    const std::vector<Asked> asked = AskedOf(dir.read("static.log"));
    ASSERT_EQ(asked.size(), firstRun + 16);
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const Asked& a = asked[i];
        EXPECT_EQ(a.pragma + a.cacheControl, "--") << a.target.toStdString(); // never no-cache
        if (i < firstRun)
            continue;
        EXPECT_NE(a.ifModifiedSince, "-") << a.target.toStdString();
        EXPECT_EQ(a.status, a.target.endsWith("/2/1/2.jpg") ? 200 : 304) << a.target.toStdString();
    }
    const std::map<QString, FileState> after = CacheFiles(folder);
    int replaced = 0;
    for (const auto& [name, state] : after)
        if (!(state == before.at(name))) {
            ++replaced;
            EXPECT_EQ(state.bytes, dir.read("static/2/1/2.jpg")) << name.toStdString();
        }
    EXPECT_EQ(replaced, 1);

    // Asked again, each tile carries the tag its server gave, kept in the folder's index.
    const Outcome again = Prefill("fresh", {"--refresh-older-than", "0"});
    EXPECT_TRUE(again.err.contains("cache refresh: 16 confirmed, 0 replaced, 0 kept stale"))
        << again.err.toStdString();
    const std::vector<Asked> tagged = AskedOf(dir.read("static.log"));
    ASSERT_EQ(tagged.size(), firstRun + 32);
    for (std::size_t i = firstRun + 16; i < tagged.size(); ++i)
        EXPECT_TRUE(tagged[i].ifNoneMatch.startsWith("\\x22")) // a quote, as nginx logs it
            << tagged[i].ifNoneMatch.toStdString();
    EXPECT_EQ(CacheFiles(folder), after);

    // A region of the same tiles is asked about in the same way, not skipped as cached.
    const Outcome region = Orbivist({"--lang", "en", "prefill", "--home", home.path(), "--source",
                                     "fresh", "--bbox", "-179,-80,179,80", "--levels", "2-2",
                                     "--retries", "1", "--refresh-older-than", "0"});
    EXPECT_TRUE(region.err.contains("cache refresh: 16 confirmed, 0 replaced, 0 kept stale"))
        << region.err.toStdString();
    EXPECT_EQ(AskedOf(dir.read("static.log")).size(), firstRun + 48);
    EXPECT_EQ(CacheFiles(folder), after);

    // With the server gone every tile is kept as it was.
    front.reset();
    const Outcome offline = Prefill("fresh", {"--refresh-older-than", "0"});
    EXPECT_EQ(offline.status, 0) << offline.err.toStdString();
    EXPECT_TRUE(offline.err.contains("cache refresh: 0 confirmed, 0 replaced, 16 kept stale"))
        << offline.err.toStdString();
    EXPECT_EQ(CacheFiles(folder), after);
}

TEST_F(FreshTiles, ASourceOfRateFiveIsNeverAskedMoreThanFiveTimesASecond) {
    const Outcome run = Prefill("paced");
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const std::vector<Asked> asked = AskedOf(dir.read("static.log"));
    ASSERT_EQ(asked.size(), 16u);
    // Within one second of each request, counted at the server: the tolerance of one allows
    // for the network moving a request across a second's edge.
    EXPECT_LE(BusiestSecond(asked, [](const Asked&) { return 1; }), 6);
}

TEST_F(FreshTiles, ASourcesBandwidthHoldsAtTheServerEverySecondAndOverTheJob) {
    qint64 total = 0;
    qint64 largest = 0;
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 4; ++y) {
            const qint64 size =
                QFileInfo(dir.file(QStringLiteral("static/2/%1/%2.jpg").arg(x).arg(y))).size();
            total += size;
            largest = std::max(largest, size);
        }
    const qint64 bandwidth = total / 8; // a job of about eight seconds, two tiles a second
    home.write("MySources.ini",
               home.read("MySources.ini") +
                   QStringLiteral("\n[thin]\nurl = %1\nlevels = 1-3\nconnections = 4\n"
                                  "rate = 1000\nbandwidth = %2\nbulk-download = yes\n")
                       .arg(front->Url(QStringLiteral("/static/{z}/{x}/{y}.jpg")))
                       .arg(bandwidth)
                       .toUtf8());
    const Outcome run = Prefill("thin");
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const std::vector<Asked> asked = AskedOf(dir.read("static.log"));
    ASSERT_EQ(asked.size(), 16u);
    // Every second's bytes, as the server sent them, with one tile of slack for a transfer
    // that crosses a second's edge.
    const qint64 busiest = BusiestSecond(asked, [](const Asked& a) { return a.bytes; });
    EXPECT_LE(busiest, bandwidth * 1.1 + largest);
    // The whole job's pace: the bytes after the first tile, over the time from its end to the
    // last's.
    const auto [earliest, latest] =
        std::minmax_element(asked.begin(), asked.end(), [](const Asked& a, const Asked& b) {
            return a.atSeconds < b.atSeconds;
        });
    const double average = (total - earliest->bytes) / (latest->atSeconds - earliest->atSeconds);
    EXPECT_NEAR(average, bandwidth, bandwidth * 0.1);
    RecordProperty("bandwidth", std::to_string(bandwidth));
    RecordProperty("busiest_second", std::to_string(busiest));
    RecordProperty("average", std::to_string(average));
}

TEST_F(FreshTiles, ARefreshAsksSeveralTilesAtOnceOverTheSourcesConnectionsAlone) {
    if (!QFileInfo::exists(QStringLiteral("/usr/lib/nginx/modules/ngx_http_echo_module.so")))
        GTEST_SKIP() << "nginx's echo module is missing";
    home.write("MySources.ini",
               home.read("MySources.ini") +
                   QStringLiteral("\n[far]\nurl = %1\nlevels = 1-3\nconnections = 2\n"
                                  "rate = 1000\nbulk-download = yes\n")
                       .arg(front->Url(QStringLiteral("/slow/{z}/{x}/{y}.jpg")))
                       .toUtf8());
    ASSERT_EQ(Prefill("far").status, 0);
    const std::size_t fetched = AskedOf(dir.read("static.log")).size();
    const Outcome refresh = Prefill("far", {"--refresh-older-than", "0"});
    ASSERT_EQ(refresh.status, 0) << refresh.err.toStdString();
    std::vector<Asked> asked = AskedOf(dir.read("static.log"));
    asked.erase(asked.begin(), asked.begin() + static_cast<std::ptrdiff_t>(fetched));
    ASSERT_EQ(asked.size(), 16u);
    std::set<qint64> connections;
    // nginx logs whole milliseconds; a request that starts in the millisecond another ended in
    // followed it, so the times are compared as the integers they are, never as differences
    // of doubles.
    const auto ms = [](double seconds) { return std::llround(seconds * 1000); };
    std::size_t most = 0; // requests under way at once, as the server saw them
    for (const Asked& a : asked) {
        EXPECT_EQ(a.status, 304);
        connections.insert(a.connection);
        const qint64 started = ms(a.atSeconds) - ms(a.tookSeconds);
        std::size_t atOnce = 0;
        for (const Asked& b : asked)
            atOnce += ms(b.atSeconds) - ms(b.tookSeconds) <= started && started < ms(b.atSeconds);
        most = std::max(most, atOnce);
    }
    EXPECT_LE(connections.size(), 2u);
    RecordProperty("most_at_once", std::to_string(most));
    EXPECT_GT(most, 2u);
    EXPECT_LE(most, 8u);
}

TEST_F(FreshTiles, ADailyQuotaStopsTheJobAndSaysWhenItMayGoOn) {
    const QString tomorrow = QDate::currentDate().addDays(1).toString(Qt::ISODate);
    for (int run = 0; run < 2; ++run) {
        const Outcome stopped = Prefill("quota");
        EXPECT_EQ(stopped.status, 1) << stopped.err.toStdString();
        EXPECT_TRUE(stopped.err.trimmed().split('\n').constLast().endsWith(
            "the source's daily limit (6 requests) is used up; it may go on from " + tomorrow))
            << stopped.err.toStdString();
        // The second run the same day asks for nothing more.
        EXPECT_EQ(AskedOf(dir.read("static.log")).size(), 6u) << run;
    }
    EXPECT_EQ(QDir(home.file("Cash/source-quota")).entryList(QDir::Files).size(), 6);
}
