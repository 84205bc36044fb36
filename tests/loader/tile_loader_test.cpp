// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_decode.h"
#include "image/placeholder_tile.h"
#include "loader/tile_loader.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

QByteArray PngTile(int side, QColor colour) {
    QImage picture(side, side, QImage::Format_RGB888);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

int Errors(const TileCounters& c) {
    return c.receiveErrors + c.badFileErrors + c.writeErrors;
}

class TileLoaderTest : public ::testing::Test, public LoaderHooks {
protected:
    void PumpEvents() override { ++pumps; }
    void ShowErrorCounts() override { errorsShown.push_back(Errors(counters)); }
    bool CancelRequested() override { return cancelled; }

    bool Load(WorkMode mode, const QString& quadPath = "qr") {
        TileLoaderContext context{mode, http, counters, *this};
        return TileLoader(MakeTileRequest(root, "pre", quadPath), image, context);
    }
    // Counts are shown at every call and after every change, so the screen is never stale.
    void ExpectShown(int times) {
        EXPECT_EQ(errorsShown.size(), size_t(times));
        EXPECT_EQ(errorsShown.empty() ? -1 : errorsShown.back(), Errors(counters));
    }
    static TilePixels Decoded(const QByteArray& jpeg) {
        TilePixels decoded;
        EXPECT_TRUE(DecodeJpeg(jpeg, decoded));
        return decoded;
    }

    TempDir cache;
    QString root = cache.path();
    FakeHttpGet http;
    TileCounters counters;
    int pumps = 0;
    bool cancelled = false;
    std::vector<int> errorsShown;
    TilePixels image;
    const QByteArray red = MakeTestJpeg(256, 256, Qt::red);
    const QByteArray blue = MakeTestJpeg(256, 256, Qt::blue);
    const TilePixels missing = PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-qr-");
};

} // namespace

TEST_F(TileLoaderTest, CachedTileIsUsedWithoutTheNetworkUnlessInternetOnly) {
    cache.write("qr.jpg", red);
    EXPECT_TRUE(Load(WorkMode::CacheOnly));
    EXPECT_EQ(image, Decoded(red));
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_TRUE(http.requests.isEmpty());

    http.Reply(blue);
    EXPECT_TRUE(Load(WorkMode::InternetOnly));
    EXPECT_EQ(http.requests, QStringList{"preqr"});
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_EQ(cache.read("qr.jpg"), blue);
    EXPECT_EQ(counters.bytesReceived, blue.size());
    EXPECT_EQ(pumps, 3);
    ExpectShown(3);
}

TEST_F(TileLoaderTest, CachedFileCutShortIsDeletedThenRefetchedOrReplacedByThePlaceholder) {
    EXPECT_TRUE(Load(WorkMode::CacheOnly));
    EXPECT_EQ(image, missing);

    cache.write("qr.jpg", red.left(red.size() - 40));
    http.Reply(blue);
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_EQ(cache.read("qr.jpg"), blue);
    EXPECT_EQ(pumps, 3);

    cache.write("qr.jpg", red.left(red.size() - 40));
    EXPECT_TRUE(Load(WorkMode::CacheOnly));
    EXPECT_EQ(image, missing);
    EXPECT_FALSE(cache.exists("qr.jpg"));
    EXPECT_EQ(counters.badFileErrors, 2);
    EXPECT_EQ(http.requests.size(), 1);
    ExpectShown(5);
}

TEST_F(TileLoaderTest, UndecodableCachedFileFailsWithoutFetchingThenIsFetchedNextTime) {
    cache.write("qr.jpg", QByteArray(600, 'x') + "\xFF\xD9");
    http.Reply(blue);
    EXPECT_FALSE(Load(WorkMode::CacheAndInternet));
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_FALSE(cache.exists("qr.jpg"));
    EXPECT_EQ(counters.badFileErrors, 1);

    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(cache.read("qr.jpg"), blue);
    ExpectShown(3);
}

TEST_F(TileLoaderTest, EveryBadReplyIsCountedByKindAndFails) {
    struct Case {
        std::optional<QByteArray> reply; // none: the request itself fails
        std::int32_t TileCounters::*counter;
        bool cacheFileKept;
    } const cases[] = {
        {std::nullopt, &TileCounters::receiveErrors, true},
        {QByteArray(), &TileCounters::receiveErrors, false},
        {QByteArray("\xFF\xD8\xFF\xD9", 4), &TileCounters::receiveErrors, false},
        {blue.left(blue.size() - 2), &TileCounters::badFileErrors, true},
        {QByteArray(600, 'x') + "\xFF\xD9", &TileCounters::badFileErrors, true},
        // Sound pictures of another size than a tile.
        {MakeTestJpeg(512, 512, Qt::blue), &TileCounters::badFileErrors, true},
        {MakeTestJpeg(1, 1, Qt::blue), &TileCounters::badFileErrors, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply ? c.reply->size() : -1);
        counters = TileCounters{};
        errorsShown.clear();
        cache.write("qr.jpg", red);
        c.reply ? http.Reply(*c.reply) : http.Fail();
        EXPECT_FALSE(Load(WorkMode::InternetOnly));
        EXPECT_EQ(counters.*c.counter, 1);
        EXPECT_EQ(Errors(counters), 1);
        EXPECT_EQ(counters.bytesReceived, c.reply ? c.reply->size() : 0);
        EXPECT_EQ(cache.read("qr.jpg"), c.cacheFileKept ? red : QByteArray());
        // The new file made while the reply was awaited is gone again.
        EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files | QDir::Hidden),
                  c.cacheFileKept ? QStringList{"qr.jpg"} : QStringList{});
        ExpectShown(2);
    }
}

// A job that only copies the tiles (nobody shows them) judges a reply by its layout, as it
// judges a cached file: a sound tile is cached and handed over without being decoded, and what
// is not laid out as a whole tile is a bad file, neither cached nor handed over.
TEST_F(TileLoaderTest, ACopyOnlyJobJudgesARepliedTileByItsLayoutWithoutDecodingIt) {
    struct Case {
        QByteArray reply;
        bool whole;
    } const cases[] = {
        {blue, true},
        {PngTile(256, Qt::green), true},
        {blue.left(blue.size() - 2), false},
        {QByteArray(600, 'x') + "\xFF\xD9", false},
        {MakeTestJpeg(512, 512, Qt::blue), false},
        {PngTile(128, Qt::green), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.size());
        counters = TileCounters{};
        QFile::remove(cache.file("qr.jpg"));
        QByteArrayList copied;
        const TileBytesSink copy = [&](const TileRequest&, const QByteArray& bytes) {
            copied << bytes;
        };
        image = TilePixels();
        http.Reply(c.reply);
        TileLoaderContext context{WorkMode::CacheAndInternet, http, counters, *this};
        context.copy = &copy;
        context.layoutOnly = true;
        EXPECT_EQ(TileLoader(MakeTileRequest(root, "pre", "qr"), image, context), c.whole);
        EXPECT_TRUE(image.isNull()); // never decoded
        EXPECT_EQ(counters.badFileErrors, c.whole ? 0 : 1);
        EXPECT_EQ(copied, c.whole ? QByteArrayList{c.reply} : QByteArrayList{});
        EXPECT_EQ(cache.read("qr.jpg"), c.whole ? c.reply : QByteArray());
    }
}

TEST_F(TileLoaderTest, AFetchTheCancelEndedIsNoReceiveError) {
    cancelled = true;
    http.Fail();
    EXPECT_FALSE(Load(WorkMode::InternetOnly));
    EXPECT_EQ(Errors(counters), 0);
    // A reply that came whole is judged as ever.
    http.Reply(QByteArray());
    EXPECT_FALSE(Load(WorkMode::InternetOnly));
    EXPECT_EQ(counters.receiveErrors, 1);
}

TEST_F(TileLoaderTest, TileIsShownWhenTheCacheCannotKeepIt) {
    root = cache.file("absent/");
    http.Reply(blue);
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_EQ(counters.writeErrors, 1);
    ExpectShown(2);
    EXPECT_FALSE(cache.exists("absent"));
}

TEST_F(TileLoaderTest, PathsWithOtherLettersNeverTouchTheDisk) {
    // The cache is a subdirectory, so an escaping name would land beside it.
    ASSERT_TRUE(QDir(cache.path()).mkdir("cache"));
    cache.write("x.jpg", red);
    root = cache.file("cache/");
    for (const QString path : {"../x", "q/../../x", ""}) {
        for (WorkMode mode :
             {WorkMode::CacheOnly, WorkMode::CacheAndInternet, WorkMode::InternetOnly}) {
            http.Reply(blue);
            EXPECT_FALSE(Load(mode, path));
        }
    }
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files), QStringList{"x.jpg"});
    EXPECT_EQ(cache.read("x.jpg"), red);
    EXPECT_TRUE(QDir(root).isEmpty());
    EXPECT_EQ(Errors(counters), 0);
}

// A file no tile could be (a 5 MiB JPEG, all of it valid) is refused unread.
TEST_F(TileLoaderTest, CachedFileLargerThanAnyTileIsABadFile) {
    QByteArray huge = red.left(2); // SOI, then 80 comment segments of 64 KiB, then the rest
    const QByteArray comment = QByteArray("\xff\xfe\xff\xff", 4) + QByteArray(65533, 'x');
    for (int i = 0; i < 80; ++i)
        huge += comment;
    huge += red.mid(2);
    cache.write("qr.jpg", huge);
    EXPECT_FALSE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(counters.badFileErrors, 1);
    EXPECT_FALSE(cache.exists("qr.jpg"));
    EXPECT_TRUE(http.requests.isEmpty());
}

// A job that only copies tiles is handed their bytes, cached ones checked for a JPEG's layout
// instead of being decoded.
TEST_F(TileLoaderTest, CopiedTilesAreHandedOverAsBytesWithoutADecode) {
    const struct {
        const char* name;
        std::optional<QByteArray> cached;
        bool fetched;
        std::optional<QByteArray> handed;
        int badFiles;
    } cases[] = {
        {"whole in the cache", red, false, red, 0},
        {"absent", std::nullopt, true, blue, 0},
        {"cut short", red.left(red.size() - 40), true, blue, 1},
        {"not laid out as a JPEG", QByteArray(600, 'x') + "\xFF\xD9", false, std::nullopt, 1},
        {"a few bytes", QByteArray("\xFF\xD8\xFF"), false, std::nullopt, 1},
        {"a picture of another size", MakeTestJpeg(512, 512, Qt::red), false, std::nullopt, 1},
        {"a PNG tile", PngTile(256, Qt::green), false, PngTile(256, Qt::green), 0},
        {"a PNG of another size", PngTile(512, Qt::green), false, std::nullopt, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(cache.file("qr.jpg"));
        if (c.cached)
            cache.write("qr.jpg", *c.cached);
        FakeHttpGet server;
        server.Reply(blue);
        counters = {};
        image = TilePixels();
        std::vector<QByteArray> handed;
        const TileBytesSink sink = [&](const TileRequest& tile, const QByteArray& bytes) {
            EXPECT_EQ(tile.quadPath, "qr");
            handed.push_back(bytes);
        };
        TileLoaderContext context{
            WorkMode::CacheAndInternet, server, counters, *this, nullptr, &sink, true};
        EXPECT_EQ(TileLoader(MakeTileRequest(root, "pre", "qr"), image, context),
                  c.handed.has_value());
        EXPECT_EQ(handed, c.handed ? std::vector{*c.handed} : std::vector<QByteArray>{});
        EXPECT_EQ(server.requests.size(), c.fetched ? 1 : 0);
        EXPECT_EQ(counters.badFileErrors, c.badFiles);
        if (!c.fetched) {
            EXPECT_TRUE(image.isNull()); // nothing was decoded
        }
    }
}

TEST_F(TileLoaderTest, CachedPictureOfAnotherSizeThanATileIsABadFile) {
    cache.write("qr.jpg", MakeTestJpeg(512, 512, Qt::red));
    EXPECT_FALSE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(counters.badFileErrors, 1);
    EXPECT_FALSE(cache.exists("qr.jpg"));
}

// A PNG source's tiles are cached as the server's own bytes and decoded for the view; its old
// JPEG tiles still load, and a PNG cut short or of another size is a bad file.
TEST_F(TileLoaderTest, PngTilesAreKeptAsTheirOwnBytesBesideOldJpegTiles) {
    const QByteArray green = PngTile(256, Qt::green);
    http.Reply(green);
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(cache.read("qr.jpg"), green);
    EXPECT_EQ(image.Pixel(100, 100), QColor(Qt::green).rgb() & 0xffffffu);
    EXPECT_TRUE(Load(WorkMode::CacheOnly)); // from the cache now
    EXPECT_EQ(image.Pixel(5, 5), QColor(Qt::green).rgb() & 0xffffffu);

    cache.write("qs.jpg", red);
    EXPECT_TRUE(Load(WorkMode::CacheOnly, "qs"));
    EXPECT_EQ(image, Decoded(red));
    EXPECT_EQ(counters.badFileErrors, 0);

    for (const QByteArray& bad : {green.left(green.size() - 12), PngTile(512, Qt::green)}) {
        http.Reply(bad);
        EXPECT_FALSE(Load(WorkMode::InternetOnly, "qt"));
        EXPECT_FALSE(cache.exists("qt.jpg"));
    }
    EXPECT_EQ(counters.badFileErrors, 2);
}
