// The prefill job's steps and endings, driven through a scripted front end.
#include "batch/prefill_job.h"
#include "batch/progress_text.h"

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

// The events from the first one equal to `from` to the end.
QStringList From(const QStringList& events, const QString& from) {
    const qsizetype at = events.indexOf(from);
    return at < 0 ? QStringList{} : events.mid(at);
}

// The block views the job showed, the final view left out.
QStringList BlockViews(const QStringList& events) {
    QStringList views;
    for (const QString& event : events)
        if (event.startsWith(QStringLiteral("ShowView ")))
            views.append(event.mid(9));
    if (!views.isEmpty())
        views.removeLast();
    return views;
}

class PrefillJob : public ::testing::Test {
protected:
    JobEnding Run(int depth, bool scheduleDialog = false) {
        settings.scheduleDialog = scheduleDialog;
        return RunPrefill({LevelOneView(), kPrefixLength, depth, settings, counters}, front);
    }

    BatchSettings settings = Settings();
    TileCounters counters;
    FakeFrontEnd front{kPrefixLength};
};

TEST_F(PrefillJob, WalksTheRegionColumnByColumnAndRestoresTheView) {
    EXPECT_EQ(Run(2), JobEnding::Done);
    EXPECT_EQ(front.events, QStringList({"SetBatchActive 1",
                                         "DisableWindow",
                                         "SetProgressPosition 0",
                                         "SetStatus начало...",
                                         "ShowProgress",
                                         "ClearCancel",
                                         "PumpEvents",
                                         "SetProgressMaximum 16",
                                         "ShowView qq qr qs qt",
                                         "SetProgressPosition 4",
                                         "SetStatus Закачано 4 фрагментов из 16",
                                         "PumpEvents",
                                         "ShowView tq tr ts tt",
                                         "SetProgressPosition 8",
                                         "ShowView rq rr rs rt",
                                         "SetProgressPosition 12",
                                         "SetStatus Закачано 12 фрагментов из 16",
                                         "PumpEvents",
                                         "ShowView sq sr ss st",
                                         "SetProgressPosition 16",
                                         "HideProgress",
                                         "EnableWindow",
                                         "SetBatchActive 0",
                                         "ShowView q r s t",
                                         "RestoreAndRaise",
                                         "FocusWindow"}));
    EXPECT_EQ(front.shownViews.back(), LevelOneView());
}

TEST_F(PrefillJob, TwoLevelsDownVisitsSixteenBlocksNorthToSouthInEachColumn) {
    EXPECT_EQ(Run(3), JobEnding::Done);
    const QStringList blocks = BlockViews(front.events);
    ASSERT_EQ(blocks.size(), 16);
    // The first column runs down the western edge; the second starts two tiles east.
    EXPECT_EQ(blocks.mid(0, 5),
              QStringList({"qqq qqr qqs qqt", "qtq qtr qts qtt", "tqq tqr tqs tqt",
                           "ttq ttr tts ttt", "qrq qrr qrs qrt"}));
    EXPECT_EQ(blocks.last(), QStringLiteral("ssq ssr sss sst"));
    EXPECT_EQ(front.progressMaximum, 64);
    EXPECT_EQ(front.progressPosition, 64);
}

TEST_F(PrefillJob, ScheduledRunDialsAndHangsUpAtEveryEnding) {
    front.scheduleResult = ScheduleChoice{.dial = true,
                                          .entry = QStringLiteral("Модем"),
                                          .user = QStringLiteral("u"),
                                          .password = QStringLiteral("p"),
                                          .hangUp = true};
    EXPECT_EQ(Run(2, true), JobEnding::Done);
    EXPECT_EQ(
        front.events.mid(0, 10),
        QStringList({"SetBatchActive 1", "RunScheduleDialog ok", "DisableWindow",
                     "SetProgressPosition 0", "SetStatus начало...", "ShowProgress", "ClearCancel",
                     "PumpEvents", "SetStatus Подключение...", "Dial Модем u p"}));
    EXPECT_EQ(From(front.events, "SetProgressPosition 16"),
              QStringList({"SetProgressPosition 16", "SetStatus Отключение...", "HangUp 1",
                           "HideProgress", "EnableWindow", "SetBatchActive 0", "ShowView q r s t",
                           "RestoreAndRaise", "FocusWindow"}));
    EXPECT_TRUE(front.dialUp.connections.empty());
}

TEST_F(PrefillJob, CancelInABlockIsSeenBeforeTheNextBlockOfTheColumn) {
    front.scheduleResult =
        ScheduleChoice{.dial = false, .entry = {}, .user = {}, .password = {}, .hangUp = true};
    front.dialUp.connections = {7};
    front.cancelAtShowView = 1;
    EXPECT_EQ(Run(2, true), JobEnding::Cancelled);
    EXPECT_EQ(BlockViews(front.events), QStringList({"qq qr qs qt"}));
    EXPECT_EQ(
        From(front.events, "SetProgressPosition 4"),
        QStringList({"SetProgressPosition 4", "SetStatus Закачано 4 фрагментов из 16", "PumpEvents",
                     "HideProgress", "SetBatchActive 0", "EnableWindow", "SetStatus Отключение...",
                     "HangUp 7", "RestoreAndRaise", "ShowView q r s t"}));
}

TEST_F(PrefillJob, CancelInTheLastBlockOfAColumnIsSeenAfterTheNextColumnStarts) {
    front.cancelAtShowView = 2;
    EXPECT_EQ(Run(2), JobEnding::Cancelled);
    EXPECT_EQ(BlockViews(front.events), QStringList({"qq qr qs qt", "tq tr ts tt", "rq rr rs rt"}));
    EXPECT_EQ(front.shownViews.back(), LevelOneView());
}

TEST_F(PrefillJob, ErrorLimitIsTestedAfterEachBlockReachedGoingSouth) {
    front.scheduleResult =
        ScheduleChoice{.dial = false, .entry = {}, .user = {}, .password = {}, .hangUp = true};
    front.dialUp.connections = {3};
    // The first block of the second column reaches the limit; the job sees it only once the
    // block below it is done.
    front.onShowView = [this](int index) {
        if (index == 3)
            counters.writeErrors = 3;
    };
    EXPECT_EQ(Run(2, true), JobEnding::ErrorLimit);
    EXPECT_EQ(
        From(front.events, "SetProgressPosition 16"),
        QStringList({"SetProgressPosition 16", "HideProgress", "EnableWindow", "SetBatchActive 0",
                     "SetStatus Отключение...", "HangUp 3", "RestoreAndRaise",
                     "ShowMessage ошибки: Закачка остановлена - превышен предел ошибок. "
                     "Выявлено ошибок: записи -  3; получения - 0; ошибочных файлов - 0; ",
                     "ShowView q r s t"}));
}

TEST_F(PrefillJob, CancelledScheduleFetchesNothingButResetsTheCountersAndRefreshesOnce) {
    counters = {.bytesReceived = 123456, .receiveErrors = 4, .badFileErrors = 5, .writeErrors = 6};
    front.scheduleResult.reset();
    EXPECT_EQ(Run(2, true), JobEnding::ScheduleCancelled);
    EXPECT_EQ(front.events,
              QStringList({"SetBatchActive 1", "RunScheduleDialog cancelled", "SetBatchActive 0",
                           "ShowView q r s t", "RestoreAndRaise", "FocusWindow"}));
    EXPECT_EQ(counters.bytesReceived, 123456);
    EXPECT_EQ(counters.receiveErrors + counters.badFileErrors + counters.writeErrors, 0);
}

// Jobs that really load their blocks, from a scripted server.
class PrefillLoading : public PrefillJob {
protected:
    void SetUp() override {
        settings.retry.receiveLimit = 1;
        front.LoadViewsFrom(ViewSource{std::make_shared<PrefixTileSource>(kPrefix, cache.path()),
                                       WorkMode::CacheAndInternet, http},
                            counters, settings.retry);
    }
    void ReplyGood(int tiles) {
        for (int i = 0; i < tiles; ++i)
            http.Reply(MakeTestJpeg(256, 256, Qt::darkGreen));
    }

    TempDir cache;
    FakeHttpGet http;
};

TEST_F(PrefillLoading, LimitReachedOnTheVeryLastTileStillStopsWithTheMessage) {
    ReplyGood(15); // the sixteenth request fails
    EXPECT_EQ(Run(2), JobEnding::ErrorLimit);
    EXPECT_EQ(http.requests.size(), 16);
    EXPECT_TRUE(front.JobEvents().contains(
        "ShowMessage ошибки: Закачка остановлена - превышен предел ошибок. "
        "Выявлено ошибок: записи -  0; получения - 1; ошибочных файлов - 0; "));
    EXPECT_EQ(front.shownViews.back(), LevelOneView());
}

TEST_F(PrefillLoading, CancelInTheVeryLastBlockIsNotAFinishedJob) {
    ReplyGood(16);
    front.cancelAtShowView = 4;
    EXPECT_EQ(Run(2), JobEnding::Cancelled);
    EXPECT_EQ(http.requests.size(), 12);
    EXPECT_EQ(From(front.JobEvents(), "HideProgress"),
              QStringList({"HideProgress", "SetBatchActive 0", "EnableWindow", "RestoreAndRaise",
                           "ShowView q r s t"}));
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
    EXPECT_EQ(front.events, QStringList({"ShowMessage ошибки: Закачка невозможна: глубина 14 ниже "
                                         "текущего уровня 1 более чем на 12 уровней "
                                         "(268435456 фрагментов)."}));
    EXPECT_EQ(counters.receiveErrors, 2);
}

TEST(PrefillCounts, CountsAndTheStatusLinePassThirtyTwoBits) {
    EXPECT_EQ(PrefillTileCount(1), 16);
    EXPECT_EQ(PrefillTileCount(15), std::int64_t{4294967296});
    EXPECT_EQ(FetchedStatusText(4294967292, PrefillTileCount(15)),
              QStringLiteral("Закачано 4294967292 фрагментов из 4294967296"));
}

} // namespace
