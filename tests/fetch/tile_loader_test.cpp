#include "fetch/jpeg_decode.h"
#include "fetch/placeholder_tile.h"
#include "fetch/tile_loader.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct RecordingHooks : LoaderHooks {
    void PumpEvents() override { ++pumps; }
    void ShowErrorCounts() override { shown.push_back(*counters); }
    const TileCounters* counters = nullptr;
    int pumps = 0;
    std::vector<TileCounters> shown;
};

bool SameErrors(const TileCounters& a, const TileCounters& b) {
    return a.receiveErrors == b.receiveErrors && a.badFileErrors == b.badFileErrors &&
           a.writeErrors == b.writeErrors;
}

class TileLoaderTest : public ::testing::Test {
protected:
    TileLoaderTest() { hooks.counters = &counters; }

    bool Load(WorkMode mode, const QString& quadPath = "qr") {
        TileLoaderContext context{mode, http, counters, hooks};
        return TileLoader(MakeTileRequest(root, "pre" + quadPath, 3), image, context);
    }

    // Counts are shown once per call and again after every change, so the last thing
    // shown is always current.
    void ExpectCountsShown(int times) {
        EXPECT_EQ(hooks.shown.size(), static_cast<size_t>(times));
        ASSERT_FALSE(hooks.shown.empty());
        EXPECT_TRUE(SameErrors(hooks.shown.back(), counters));
    }

    QImage Decoded(const QByteArray& jpeg) {
        QImage decoded;
        EXPECT_TRUE(DecodeJpeg(jpeg, decoded));
        return decoded;
    }

    TempDir cache;
    QString root = cache.path();
    FakeHttpGet http;
    TileCounters counters;
    RecordingHooks hooks;
    QImage image;
    const QByteArray red = MakeTestJpeg(256, 256, Qt::red);
    const QByteArray blue = MakeTestJpeg(256, 256, Qt::blue);
};

} // namespace

TEST_F(TileLoaderTest, CachedTileIsUsedWithoutTheNetworkUnlessInternetOnly) {
    cache.write("qr.jpg", red);
    for (WorkMode mode : {WorkMode::CacheOnly, WorkMode::CacheAndInternet}) {
        image = QImage();
        EXPECT_TRUE(Load(mode));
        EXPECT_EQ(image, Decoded(red));
    }
    EXPECT_TRUE(http.requests.isEmpty());

    http.Reply(blue);
    EXPECT_TRUE(Load(WorkMode::InternetOnly));
    EXPECT_EQ(http.requests, QStringList{"preqr"});
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_EQ(cache.read("qr.jpg"), blue);
    EXPECT_EQ(counters.bytesReceived, blue.size());
    EXPECT_EQ(hooks.pumps, 3);
    ExpectCountsShown(3);
}

TEST_F(TileLoaderTest, CacheOnlyDrawsThePlaceholderForAMissingTile) {
    EXPECT_TRUE(Load(WorkMode::CacheOnly, "tsq"));
    EXPECT_EQ(image, PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-tsq-"));
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_TRUE(QDir(cache.path()).isEmpty());
    ExpectCountsShown(1);
}

TEST_F(TileLoaderTest, CachedFileCutShortIsDeletedAndReplacedInTheSameCall) {
    cache.write("qr.jpg", red.left(red.size() - 40));
    http.Reply(blue);
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(http.requests.size(), 1);
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_EQ(cache.read("qr.jpg"), blue);
    EXPECT_EQ(counters.badFileErrors, 1);
    EXPECT_EQ(hooks.pumps, 2);
    ExpectCountsShown(2);

    cache.write("qr.jpg", red.left(red.size() - 40));
    EXPECT_TRUE(Load(WorkMode::CacheOnly));
    EXPECT_EQ(image, PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-qr-"));
    EXPECT_FALSE(cache.exists("qr.jpg"));
    EXPECT_EQ(counters.badFileErrors, 2);
}

TEST_F(TileLoaderTest, UndecodableCachedFileFailsWithoutFetchingThenIsFetchedNextTime) {
    cache.write("qr.jpg", QByteArray(600, 'x') + "\xFF\xD9");
    http.Reply(blue);
    EXPECT_FALSE(Load(WorkMode::CacheAndInternet));
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_FALSE(cache.exists("qr.jpg"));
    EXPECT_EQ(counters.badFileErrors, 1);
    ExpectCountsShown(2);

    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(http.requests.size(), 1);
    EXPECT_EQ(cache.read("qr.jpg"), blue);
}

TEST_F(TileLoaderTest, EveryBadReplyIsCountedByKindAndFails) {
    struct Case {
        const char* what;
        std::optional<QByteArray> reply; // none: the request itself fails
        std::int32_t TileCounters::*counter;
        bool cacheFileKept;
    };
    const QByteArray undecodable = QByteArray(600, 'x') + "\xFF\xD9";
    const Case cases[] = {
        {"request fails", std::nullopt, &TileCounters::receiveErrors, true},
        {"empty body", QByteArray(), &TileCounters::receiveErrors, false},
        {"four bytes", QByteArray("\xFF\xD8\xFF\xD9", 4), &TileCounters::receiveErrors, false},
        {"no end marker", blue.left(blue.size() - 2), &TileCounters::badFileErrors, true},
        {"undecodable", undecodable, &TileCounters::badFileErrors, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        counters = TileCounters{};
        hooks.shown.clear();
        cache.write("qr.jpg", red);
        c.reply ? http.Reply(*c.reply) : http.Fail();
        EXPECT_FALSE(Load(WorkMode::InternetOnly));
        EXPECT_EQ(counters.*c.counter, 1);
        EXPECT_EQ(counters.receiveErrors + counters.badFileErrors + counters.writeErrors, 1);
        EXPECT_EQ(counters.bytesReceived, c.reply ? c.reply->size() : 0);
        EXPECT_EQ(cache.exists("qr.jpg"), c.cacheFileKept);
        if (c.cacheFileKept) {
            EXPECT_EQ(cache.read("qr.jpg"), red);
        }
        ExpectCountsShown(2);
    }
}

TEST_F(TileLoaderTest, TileIsShownWhenTheCacheCannotKeepIt) {
    root = cache.file("absent/");
    http.Reply(blue);
    http.Reply(red);
    EXPECT_TRUE(Load(WorkMode::CacheAndInternet));
    EXPECT_EQ(image, Decoded(blue));
    EXPECT_TRUE(Load(WorkMode::InternetOnly));
    EXPECT_EQ(counters.writeErrors, 2);
    ExpectCountsShown(4);
    EXPECT_FALSE(cache.exists("absent"));
}

TEST_F(TileLoaderTest, PathsWithOtherLettersNeverTouchTheDisk) {
    // The cache is a subdirectory, so an escaping name would land in parent.
    TempDir parent;
    ASSERT_TRUE(QDir(parent.path()).mkdir("cache"));
    parent.write("x.jpg", red);
    const QString cacheRoot = parent.file("cache/");
    for (const QString path : {"../x", "q/../../x", ""}) {
        for (WorkMode mode :
             {WorkMode::CacheOnly, WorkMode::CacheAndInternet, WorkMode::InternetOnly}) {
            http.Reply(blue);
            TileLoaderContext context{mode, http, counters, hooks};
            EXPECT_FALSE(TileLoader(MakeTileRequest(cacheRoot, "pre" + path, 3), image, context));
        }
    }
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_EQ(parent.read("x.jpg"), red);
    EXPECT_EQ(QDir(parent.path()).entryList(QDir::Files), QStringList{"x.jpg"});
    EXPECT_TRUE(QDir(cacheRoot).isEmpty());
    EXPECT_TRUE(SameErrors(counters, TileCounters{}));
    EXPECT_EQ(counters.bytesReceived, 0);
}
