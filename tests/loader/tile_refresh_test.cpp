// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_refresh.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct NoHooks : LoaderHooks {
    void PumpEvents() override {}
    void ShowErrorCounts() override {}
};

struct stat StatOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

void SetAge(const QString& path, std::int64_t seconds) {
    const timespec times[2] = {
        {0, UTIME_OMIT}, {static_cast<time_t>(QDateTime::currentSecsSinceEpoch() - seconds), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

TEST(TileRefresh, ACachedTileIsConfirmedReplacedOrKeptButNeverLost) {
    const QByteArray old = MakeTestJpeg(256, 256, Qt::red);
    const QByteArray fresh = MakeTestJpeg(256, 256, Qt::blue);
    enum class Became { Confirmed, Replaced, KeptStale };
    const struct {
        const char* what;
        std::optional<QByteArray> body; // nothing: a failure of status
        int status;
        Became became;
    } cases[] = {
        {"304", std::nullopt, kNotModified, Became::Confirmed},
        {"the same tile again", old, 0, Became::Confirmed},
        {"a new tile", fresh, 0, Became::Replaced},
        {"offline", std::nullopt, 0, Became::KeptStale},
        {"503", std::nullopt, 503, Became::KeptStale},
        {"an empty reply", QByteArray(), 0, Became::KeptStale},
        {"a tile cut short", fresh.left(fresh.size() / 2), 0, Became::KeptStale},
        {"a page of text", QByteArray("<html>blocked</html>"), 0, Became::KeptStale},
    };
    for (const auto& c : cases) {
        TempDir cache;
        const TileRequest tile = MakeTileRequest(cache.path(), "pre", "qrs");
        cache.write("qrs.jpg", old);
        SetAge(*tile.cacheFile, 3 * kSecondsPerDay);
        const struct stat before = StatOf(*tile.cacheFile);
        FakeHttpGet http;
        if (c.body)
            http.Reply(*c.body);
        else
            http.Fail(c.status);
        TileCounters counters;
        NoHooks hooks;
        TileLoaderContext context{WorkMode::CacheAndInternet, http, counters, hooks};
        const RefreshRule rule{.olderThanSeconds = 2 * kSecondsPerDay, .now = nullptr};
        context.refresh = &rule;
        TilePixels image;
        ASSERT_TRUE(TileLoader(tile, image, context)) << c.what;
        EXPECT_EQ(http.requests, QStringList{"preqrs"}) << c.what;

        const struct stat after = StatOf(*tile.cacheFile);
        EXPECT_EQ(cache.read("qrs.jpg"), c.became == Became::Replaced ? fresh : old) << c.what;
        EXPECT_EQ(after.st_ino == before.st_ino, c.became != Became::Replaced) << c.what;
        // A confirmed tile is young again; one kept keeps its age, to be asked again.
        EXPECT_EQ(after.st_mtime > before.st_mtime, c.became != Became::KeptStale) << c.what;
        EXPECT_EQ((image.Pixel(128, 128) & 0xff) > 200, c.became == Became::Replaced) << c.what;
        EXPECT_EQ(
            std::tuple(counters.tilesConfirmed, counters.tilesReplaced, counters.tilesKeptStale),
            std::tuple(c.became == Became::Confirmed, c.became == Became::Replaced,
                       c.became == Became::KeptStale))
            << c.what;
        EXPECT_EQ(counters.receiveErrors + counters.badFileErrors, 0) << c.what;
    }
}

TEST(TileRefresh, OnlyTilesAtLeastAsOldAsTheRuleSaysByItsClockAreDue) {
    TempDir cache;
    cache.write("q.jpg", MakeTestJpeg(256, 256, Qt::red));
    const QString path = cache.file("q.jpg");
    SetAge(path, kSecondsPerDay - 60);
    const RefreshRule daily{.olderThanSeconds = kSecondsPerDay, .now = nullptr};
    EXPECT_FALSE(DueCopy(daily, path));
    const RefreshRule later{.olderThanSeconds = kSecondsPerDay,
                            .now = [] { return QDateTime::currentSecsSinceEpoch() + 60; }};
    ASSERT_TRUE(DueCopy(later, path));
    EXPECT_EQ(DueCopy(later, path)->modifiedSecs, StatOf(path).st_mtime);
    EXPECT_FALSE(DueCopy(later, cache.file("absent.jpg")));
}
