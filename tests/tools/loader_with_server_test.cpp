// The program's tile loader and HTTP client against the real demo server.
#include "tests/tools/demo_server_process.h"

#include "fetch/http_client.h"
#include "fetch/tile_loader.h"
#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/world_image.h"

#include <QDir>
#include <algorithm>
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

// What a fault-free server sends for the tile with these quadrant letters.
QByteArray CleanTile(const tileserver::RgbImage& world, const QString& quadPath) {
    const auto tile = tileserver::ParseTileKey("t" + quadPath.toStdString());
    const std::vector<std::uint8_t> jpeg =
        tileserver::EncodeJpeg(tileserver::RenderMercatorTile(world, tile.value()));
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
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
        QImage image;
        const TileRequest tile = MakeTileRequest(cache.path(), prefix + letter, prefix.size());
        ASSERT_TRUE(TileLoader(tile, image, context)) << letter.toStdString();
        EXPECT_EQ(image.size(), QSize(256, 256));
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
            QImage image;
            ++attempts;
            loaded += TileLoader(MakeTileRequest(cache.path(), prefix + path, prefix.size()), image,
                                 context);
        }
    ASSERT_EQ(server.Stop(), 0);

    const std::vector<std::string> faults = server.InjectedFaults();
    const auto injected = [&](const char* kind) {
        return static_cast<int>(std::count(faults.begin(), faults.end(), kind));
    };
    ASSERT_GT(injected("redirect"), 0) << "the seed should exercise every kind";
    ASSERT_GT(injected("cut"), 0);
    // Replies that never became a tile; a redirect is followed, so it fails nothing itself.
    EXPECT_EQ(counters.receiveErrors,
              injected("500") + injected("404") + injected("empty") + injected("drop"));
    EXPECT_EQ(counters.badFileErrors, injected("cut"));
    EXPECT_EQ(counters.writeErrors, 0);
    EXPECT_EQ(loaded, attempts - counters.receiveErrors - counters.badFileErrors);

    std::string error;
    const std::optional<tileserver::RgbImage> world =
        tileserver::LoadWorldImage(worldPath.toStdString(), error);
    ASSERT_TRUE(world) << error;
    const QStringList files = QDir(cache.path()).entryList(QDir::Files);
    EXPECT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        const QString path = file.chopped(4);
        ASSERT_TRUE(LevelTwoPaths().contains(path)) << file.toStdString();
        EXPECT_EQ(cache.read(file), CleanTile(*world, path)) << file.toStdString();
    }
}
