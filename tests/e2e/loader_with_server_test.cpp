// SPDX-License-Identifier: GPL-3.0-or-later
// The program's tile loader and HTTP client against the real demo server.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/served_tiles.h"

#include "loader/tile_loader.h"
#include "net/http_client.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class QuietHooks : public LoaderHooks {
public:
    void PumpEvents() override {}
    void ShowErrorCounts() override {}
};

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList LevelTwoPaths() {
    QStringList paths;
    for (QChar a : QStringLiteral("qrst"))
        for (QChar b : QStringLiteral("qrst"))
            paths << QString(a) + b;
    return paths;
}

} // namespace

TEST(LoaderWithServer, LevelOneViewFillsAnEmptyCacheWithWhatTheServerSent) {
    TempDir dir, cache;
    DemoServerProcess server(WriteQuadrantWorld(dir), {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    HttpClient http;
    TileCounters counters;
    QuietHooks hooks;
    TileLoaderContext context{WorkMode::CacheAndInternet, http, counters, hooks};
    const QString prefix = server.TilePrefix();

    qint64 sent = 0;
    for (const QString letter : {"q", "r", "s", "t"}) {
        TilePixels image;
        const TileRequest tile = MakeTileRequest(cache.path(), prefix, letter);
        ASSERT_TRUE(TileLoader(tile, image, context)) << letter.toStdString();
        EXPECT_EQ(image.width(), 256);
        EXPECT_EQ(image.height(), 256);
        const RawReply reply = RawGet(server.Port(), "/kh?v=5&n=404&t=t" + letter.toStdString());
        EXPECT_EQ(cache.read(letter + ".jpg"), Bytes(reply.body)) << letter.toStdString();
        sent += static_cast<qint64>(reply.body.size());
    }
    EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files),
              QStringList({"q.jpg", "r.jpg", "s.jpg", "t.jpg"}));
    EXPECT_EQ(counters.bytesReceived, sent);
    EXPECT_EQ(counters.receiveErrors + counters.badFileErrors + counters.writeErrors, 0);
}

TEST(LoaderWithServer, CountersMatchInjectedFaultsAndTheCacheKeepsOnlyGoodTiles) {
    TempDir dir, cache;
    const QString worldPath = WriteQuadrantWorld(dir);
    DemoServerProcess server(worldPath, {"--fault-rate", "0.4", "--seed", "11"}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    HttpClient http;
    TileCounters counters;
    QuietHooks hooks;
    TileLoaderContext context{WorkMode::InternetOnly, http, counters, hooks};
    const QString prefix = server.TilePrefix();

    int loaded = 0, attempts = 0;
    for (int round = 0; round < 3; ++round)
        for (const QString& path : LevelTwoPaths()) {
            TilePixels image;
            ++attempts;
            loaded += TileLoader(MakeTileRequest(cache.path(), prefix, path), image, context);
        }
    ASSERT_EQ(server.Stop(), 0);

    const std::vector<std::string> faults = server.InjectedFaults();
    ASSERT_GT(InjectedCount(faults, "redirect"), 0) << "the seed should exercise every kind";
    ASSERT_GT(InjectedCount(faults, "cut"), 0);
    const TileCounters expected = CountersForFaults(faults);
    EXPECT_EQ(counters.receiveErrors, expected.receiveErrors);
    EXPECT_EQ(counters.badFileErrors, expected.badFileErrors);
    EXPECT_EQ(counters.writeErrors, 0);
    EXPECT_EQ(loaded, attempts - counters.receiveErrors - counters.badFileErrors);

    const QStringList files = QDir(cache.path()).entryList(QDir::Files);
    EXPECT_FALSE(files.isEmpty());
    for (const QString& file : files)
        EXPECT_TRUE(LevelTwoPaths().contains(file.chopped(4))) << file.toStdString();
    ExpectOnlyCleanTilesIn(cache, worldPath);
}
