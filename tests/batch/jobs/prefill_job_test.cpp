// SPDX-License-Identifier: GPL-3.0-or-later
// The prefill job's walk and endings, loading from a scripted server.
#include "batch/jobs/prefill_job.h"
#include "batch/jobs/progress_text.h"

#include "tests/support/fake_front_end.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

const QString kPrefix = QStringLiteral("http://tiles.test/kh?v=5&n=404&t=t");
const int kPrefixLength = static_cast<int>(kPrefix.size());

ViewUrls LevelOneView() {
    return {kPrefix + 'q', kPrefix + 'r', kPrefix + 's', kPrefix + 't'};
}

BatchSettings Settings() {
    return {BatchRetry{.attempts = 1,
                       .pauseSeconds = 0,
                       .badFileLimit = 25,
                       .writeLimit = 3,
                       .receiveLimit = 3},
            false};
}

QStringList Paths(const QStringList& urls) {
    QStringList paths;
    for (const QString& url : urls)
        paths << url.mid(kPrefixLength);
    return paths;
}

// Jobs loading their blocks from a scripted server into an empty cache.
class PrefillJob : public ::testing::Test {
protected:
    JobEnding Run(int depth, bool scheduleDialog = false) {
        return RunWith(front, http, cache, depth, scheduleDialog);
    }
    JobEnding RunWith(FakeFrontEnd& with, FakeHttpGet& server, const TempDir& into, int depth,
                      bool scheduleDialog) {
        settings.scheduleDialog = scheduleDialog;
        const ViewSource tiles{std::make_shared<PrefixTileSource>(kPrefix, into.path()),
                               WorkMode::CacheAndInternet, server};
        return RunPrefill({LevelOneView(), depth, settings, counters}, with.Services(tiles), with,
                          with);
    }
    static void ReplyGood(FakeHttpGet& server, int tiles) {
        for (int i = 0; i < tiles; ++i)
            server.Reply(MakeTestJpeg(256, 256, Qt::darkGreen));
    }
    void ReplyGood(int tiles) { ReplyGood(http, tiles); }
    ScheduleChoice HangUpChoice() {
        return {.dial = false, .entry = {}, .user = {}, .password = {}, .hangUp = true};
    }

    BatchSettings settings = Settings();
    TileCounters counters;
    FakeFrontEnd front;
    TempDir cache;
    FakeHttpGet http;
};

TEST_F(PrefillJob, WalksTheRegionBlockByBlockColumnByColumn) {
    ReplyGood(16);
    EXPECT_EQ(Run(2), JobEnding::Done);
    EXPECT_EQ(Paths(http.requests), QStringList({"qq", "qr", "qs", "qt", "tq", "tr", "ts", "tt",
                                                 "rq", "rr", "rs", "rt", "sq", "sr", "ss", "st"}));
    EXPECT_EQ(front.tilesShown, 16);
    EXPECT_EQ(front.statuses, QStringList({"начало...", "Закачано 4 фрагментов из 16",
                                           "Закачано 12 фрагментов из 16"}));
    EXPECT_EQ(front.progress.back().done, 16);
    EXPECT_EQ(front.progress.back().total, 16);
    EXPECT_EQ(front.events, QStringList({"Ended 0 "}));
}

TEST_F(PrefillJob, TwoLevelsDownVisitsSixteenBlocksNorthToSouthInEachColumn) {
    ReplyGood(64);
    EXPECT_EQ(Run(3), JobEnding::Done);
    const QStringList paths = Paths(http.requests);
    ASSERT_EQ(paths.size(), 64);
    // The first column runs down the western edge; the second starts two tiles east.
    EXPECT_EQ(paths.mid(0, 20).join(' '), "qqq qqr qqs qqt qtq qtr qts qtt tqq tqr tqs tqt "
                                          "ttq ttr tts ttt qrq qrr qrs qrt");
    EXPECT_EQ(paths.mid(60).join(' '), "ssq ssr sss sst");
    EXPECT_EQ(front.progress.back().done, 64);
}

TEST_F(PrefillJob, ScheduledRunDialsFirstAndHangsUpBeforeItsEnding) {
    ReplyGood(16);
    front.scheduleResult = ScheduleChoice{.dial = true,
                                          .entry = QStringLiteral("Модем"),
                                          .user = QStringLiteral("u"),
                                          .password = QStringLiteral("p"),
                                          .hangUp = true};
    EXPECT_EQ(Run(2, true), JobEnding::Done);
    EXPECT_EQ(front.events, QStringList({"AskSchedule", "Dial Модем u p", "HangUp 1", "Ended 0 "}));
    EXPECT_EQ(front.statuses.mid(0, 2), QStringList({"начало...", "Подключение..."}));
    EXPECT_EQ(front.statuses.last(), "Отключение...");
    EXPECT_TRUE(front.dialUp.connections.empty());
}

// A cancel or a reached limit cuts the block short; the job sees it before its next block.
TEST_F(PrefillJob, CancelAndErrorLimitStopTheWalkAndHangUpFirst) {
    const struct {
        const char* name;
        int atTile;
        bool limit;
        int requests;
        JobEnding ending;
    } cases[] = {
        {"cancel in the first block", 2, false, 2, JobEnding::Cancelled},
        // The last block of a column has no check after it: the next column's first block
        // starts and stops at once.
        {"cancel in the last block of a column", 8, false, 8, JobEnding::Cancelled},
        {"cancel in the very last block", 12, false, 12, JobEnding::Cancelled},
        {"limit in the second column", 9, true, 9, JobEnding::ErrorLimit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFrontEnd watcher;
        FakeHttpGet server;
        TempDir fresh;
        ReplyGood(server, 16);
        watcher.scheduleResult = HangUpChoice();
        watcher.dialUp.connections = {7};
        watcher.onTile = [&](int tile) {
            if (tile != c.atTile)
                return;
            if (c.limit)
                counters.writeErrors = 3;
            else
                watcher.cancel = true;
        };
        EXPECT_EQ(RunWith(watcher, server, fresh, 2, true), c.ending);
        EXPECT_EQ(server.requests.size(), c.requests);
        EXPECT_EQ(
            watcher.events.mid(0, 3),
            QStringList({"AskSchedule", "HangUp 7",
                         QStringLiteral("Ended %1 ").arg(int(c.ending)) + watcher.endMessage}));
        if (c.limit) {
            EXPECT_EQ(watcher.endMessage,
                      "Закачка остановлена - превышен предел ошибок. Выявлено ошибок: записи -  "
                      "3; получения - 0; ошибочных файлов - 0; ");
        } else {
            EXPECT_TRUE(watcher.endMessage.isEmpty());
        }
    }
}

TEST_F(PrefillJob, LimitReachedOnTheVeryLastTileStillStopsWithTheMessage) {
    settings.retry.receiveLimit = 1;
    ReplyGood(15); // the sixteenth request fails
    EXPECT_EQ(Run(2), JobEnding::ErrorLimit);
    EXPECT_EQ(http.requests.size(), 16);
    EXPECT_EQ(front.endMessage,
              "Закачка остановлена - превышен предел ошибок. "
              "Выявлено ошибок: записи -  0; получения - 1; ошибочных файлов - 0; ");
}

TEST_F(PrefillJob, CancelledScheduleFetchesNothingButResetsTheCounters) {
    counters = {.bytesReceived = 123456, .receiveErrors = 4, .badFileErrors = 5, .writeErrors = 6};
    front.scheduleResult.reset();
    EXPECT_EQ(Run(2, true), JobEnding::ScheduleCancelled);
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_TRUE(front.progress.empty());
    EXPECT_EQ(counters.bytesReceived, 123456);
    EXPECT_EQ(counters.receiveErrors + counters.badFileErrors + counters.writeErrors, 0);
}

TEST(PrefillBounds, DepthMustLieBelowTheViewByAtMostTwelveLevelsAndAtMostAtLevel24) {
    EXPECT_TRUE(PrefillRefusal(3, 3));
    EXPECT_TRUE(PrefillRefusal(3, 2));
    EXPECT_FALSE(PrefillRefusal(3, 4));
    EXPECT_FALSE(PrefillRefusal(5, 17));
    EXPECT_EQ(PrefillRefusal(5, 18), QStringLiteral("Закачка невозможна: глубина 18 ниже текущего "
                                                    "уровня 5 более чем на 12 уровней "
                                                    "(268435456 фрагментов)."));
    EXPECT_FALSE(PrefillRefusal(12, 24));
    EXPECT_EQ(PrefillRefusal(20, 25),
              QStringLiteral("Закачка невозможна: глубина 25 больше предельной (24)."));
}

TEST_F(PrefillJob, RefusedDepthOnlyShowsWhy) {
    counters.receiveErrors = 2;
    EXPECT_EQ(Run(14), JobEnding::Failed);
    EXPECT_EQ(front.endMessage, "Закачка невозможна: глубина 14 ниже текущего уровня 1 более чем "
                                "на 12 уровней (268435456 фрагментов).");
    EXPECT_TRUE(front.progress.empty());
    EXPECT_EQ(counters.receiveErrors, 2);
}

TEST(PrefillCounts, CountsAndTheStatusLinePassThirtyTwoBits) {
    EXPECT_EQ(PrefillTileCount(1), 16);
    EXPECT_EQ(PrefillTileCount(15), std::int64_t{4294967296});
    EXPECT_EQ(FetchedStatusText(4294967292, PrefillTileCount(15)),
              QStringLiteral("Закачано 4294967292 фрагментов из 4294967296"));
}

} // namespace
