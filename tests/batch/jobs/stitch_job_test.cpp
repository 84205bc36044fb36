// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_job.h"

#include "batch/outputs/calibration_file.h"
#include "tests/support/fake_front_end.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kPrefix = QStringLiteral("http://tiles/kh?t=t");

ViewUrls LevelOne(const QString& anchor = QStringLiteral("q")) {
    const QString others = anchor == "q" ? "rst" : "qts";
    return {kPrefix + anchor, kPrefix + others[0], kPrefix + others[1], kPrefix + others[2]};
}

QStringList Paths(const QStringList& urls) {
    QStringList paths;
    for (const QString& url : urls)
        paths << url.mid(kPrefix.size());
    return paths;
}

// Read by Qt's own reader: the program's decoder takes tiles only.
QImage ReadPicture(const QString& path) {
    return QImage(path, "JPG");
}

bool Near(QRgb pixel, int r, int g, int b) {
    return std::abs(qRed(pixel) - r) < 12 && std::abs(qGreen(pixel) - g) < 12 &&
           std::abs(qBlue(pixel) - b) < 12;
}

class StitchJob : public ::testing::Test {
protected:
    TempDir cache, out;
    FakeHttpGet http;
    TileCounters counters;
    FakeFrontEnd front;
    WorkMode mode = WorkMode::CacheAndInternet;
    QString cacheRoot = cache.path();

    JobEnding Run(const StitchInputs& inputs) { return Run(inputs, front); }
    JobEnding Run(const StitchInputs& inputs, FakeFrontEnd& with) {
        const ViewSource tiles{std::make_shared<PrefixTileSource>(kPrefix, cacheRoot), mode, http};
        return RunStitch(inputs, with.Services(tiles), with, with);
    }
    StitchInputs Inputs(int columns, int rows) {
        return StitchInputs{
            .view = LevelOne(),
            .counters = counters,
            .settings = BatchSettings{.retry = BatchRetry{.attempts = 1,
                                                          .pauseSeconds = 0,
                                                          .badFileLimit = 25,
                                                          .writeLimit = 3,
                                                          .receiveLimit = 3},
                                      .scheduleDialog = false},
            .columns = columns,
            .rows = rows,
            .quality = 90,
            .calibrationTemplate = CalibrationTemplate(),
            .availableMemory = std::nullopt,
            .output = std::nullopt,
        };
    }
    void ReplyTiles(int count, QColor colour = Qt::red) {
        for (int i = 0; i < count; ++i)
            http.Reply(MakeTestJpeg(256, 256, colour));
    }
};

} // namespace

TEST_F(StitchJob, OneTileMakesA256PictureAndItsMapAndRefreshesTheView) {
    ReplyTiles(1);
    front.outputFile = out.file("one.jpg");
    EXPECT_EQ(Run(Inputs(1, 1)), JobEnding::Done);
    EXPECT_EQ(Paths(http.requests), QStringList({"q"}));
    EXPECT_EQ(front.progress.back().total, 1);
    const QImage picture = ReadPicture(out.file("one.jpg"));
    ASSERT_EQ(picture.size(), QSize(256, 256));
    EXPECT_TRUE(Near(picture.pixel(128, 128), 255, 0, 0));
    EXPECT_TRUE(out.exists("one.map"));
    EXPECT_EQ(front.events, QStringList({"Ended 0 "}));
}

TEST_F(StitchJob, CacheOnlyDrawsMissingTilesOnceWithTheirStandInAndCountsFromZero) {
    front.outputFile = out.file("five.jpg");
    mode = WorkMode::CacheOnly;
    EXPECT_EQ(Run(Inputs(5, 5)), JobEnding::Done);
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_EQ(front.statuses.mid(0, 3), QStringList({"начало...", "Закачано 0 фрагментов из 25",
                                                     "Закачано 1 фрагментов из 25"}));
    EXPECT_TRUE(front.sleeps.empty()); // not retried
    const QImage picture = ReadPicture(out.file("five.jpg"));
    ASSERT_EQ(picture.size(), QSize(1280, 1280));
    EXPECT_TRUE(Near(picture.pixel(1270, 1270), 192, 192, 192));
}

TEST_F(StitchJob, ATileThatFailsEveryAttemptStaysAsTheSilverStandInAndTheJobGoesOn) {
    StitchInputs inputs = Inputs(2, 1);
    inputs.settings.retry.attempts = 2;
    inputs.settings.retry.pauseSeconds = 1;
    // First a tile that libjpeg gives up on only after its rows, at a second start of image.
    QByteArray failsLate = MakeTestJpeg(256, 256, Qt::red);
    http.Reply(failsLate.insert(failsLate.size() - 2, "\xFF\xD8"));
    http.Fail();
    ReplyTiles(1, Qt::blue);
    front.outputFile = out.file("two.jpg");
    EXPECT_EQ(Run(inputs), JobEnding::Done);
    EXPECT_EQ(Paths(http.requests), QStringList({"q", "q", "r"}));
    // Each failed attempt, the last one included, is followed by a pause of 99 sleeps.
    EXPECT_EQ(std::count(front.sleeps.begin(), front.sleeps.end(), 10), 2 * 99);
    const QImage picture = ReadPicture(out.file("two.jpg"));
    ASSERT_EQ(picture.size(), QSize(512, 256));
    EXPECT_TRUE(Near(picture.pixel(10, 10), 192, 192, 192));
    int dark = 0; // the stand-in's two lines of black text
    for (int x = 60; x < 196; ++x)
        for (int y = 100; y < 156; ++y)
            dark += qGray(picture.pixel(x, y)) < 96;
    EXPECT_GT(dark, 20);
    EXPECT_TRUE(Near(picture.pixel(300, 128), 0, 0, 255));
}

TEST_F(StitchJob, AWriteErrorLimitOfOneStopsBeforeTheNextTile) {
    StitchInputs inputs = Inputs(3, 1);
    cacheRoot = cache.file("missing/");
    // every store fails
    inputs.settings.retry.writeLimit = 1;
    ReplyTiles(3);
    front.outputFile = out.file("never.jpg");
    EXPECT_EQ(Run(inputs), JobEnding::ErrorLimit);
    EXPECT_EQ(http.requests.size(), 1);
    EXPECT_FALSE(out.exists("never.jpg"));
    EXPECT_EQ(front.endMessage, "Закачка остановлена - превышен предел ошибок. Выявлено ошибок: "
                                "записи -  1; получения - 0; ошибочных файлов - 0; ");
}

TEST_F(StitchJob, ErrorsOfTheLastTileNeverStopTheSave) {
    StitchInputs inputs = Inputs(1, 2);
    inputs.settings.retry.receiveLimit = 1;
    ReplyTiles(1);
    http.Fail();
    front.outputFile = out.file("last.jpg");
    EXPECT_EQ(Run(inputs), JobEnding::Done);
    EXPECT_EQ(counters.receiveErrors, 1);
    EXPECT_TRUE(out.exists("last.jpg"));
}

TEST_F(StitchJob, ARectanglePastTheEastEdgeGoesOnFromTheWest) {
    StitchInputs inputs = Inputs(2, 2);
    inputs.view = LevelOne("r");
    ReplyTiles(4);
    front.outputFile = out.file("wrap.jpg");
    EXPECT_EQ(Run(inputs), JobEnding::Done);
    EXPECT_EQ(Paths(http.requests), QStringList({"r", "s", "q", "t"}));
}

TEST_F(StitchJob, ADeclinedSaveWritesNothingAndIsDone) {
    ReplyTiles(4);
    front.outputFile.reset();
    EXPECT_EQ(Run(Inputs(2, 2)), JobEnding::Done);
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(StitchJob, AFailedWriteIsReportedWithItsFileBeforeTheEnding) {
    ReplyTiles(1);
    front.outputFile = out.file("no/such/dir/a.jpg");
    EXPECT_EQ(Run(Inputs(1, 1)), JobEnding::Failed);
    ASSERT_EQ(front.events.size(), 2);
    EXPECT_TRUE(front.events[0].startsWith("Message ошибки: "));
    EXPECT_TRUE(front.events[0].contains(out.file("no/such/dir/a.jpg")));
    EXPECT_EQ(front.events[1], "Ended 5 ");
}

TEST_F(StitchJob, AnUnwritableMapIsReportedWithItsFileAndTheOldPictureStays) {
    ReplyTiles(2);
    out.write("pic.jpg", "old picture");
    ASSERT_TRUE(QFile::setPermissions(out.file("pic.jpg"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFile::Permissions mode = QFile::permissions(out.file("pic.jpg"));
    ASSERT_TRUE(QDir().mkpath(out.file("pic.map"))); // a directory where the map would go
    front.outputFile = out.file("pic.jpg");
    EXPECT_EQ(Run(Inputs(1, 1)), JobEnding::Failed);
    const QStringList messages = front.events.filter("Message ошибки: ");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("pic.map"));
    EXPECT_EQ(out.read("pic.jpg"), "old picture");

    // Once both can be written, the new picture takes the old one's permissions.
    ASSERT_TRUE(QDir(out.file("pic.map")).removeRecursively());
    EXPECT_EQ(Run(Inputs(1, 1)), JobEnding::Done);
    EXPECT_EQ(ReadPicture(out.file("pic.jpg")).size(), QSize(256, 256));
    EXPECT_EQ(QFile::permissions(out.file("pic.jpg")), mode);
}

TEST_F(StitchJob, SizesBeyondAJpegOrTheMemoryAreRefusedBeforeAnyRequest) {
    for (const auto& [columns, rows] : {std::pair{256, 1}, {1, 256}, {0, 3}, {-2, -2}}) {
        FakeFrontEnd fresh;
        fresh.outputFile = out.file("big.jpg");
        EXPECT_EQ(Run(Inputs(columns, rows), fresh), JobEnding::TooLarge) << columns;
        EXPECT_EQ(fresh.endMessage, "Выполнить невозможно - слишком большое изображение?");
    }
    StitchInputs inputs = Inputs(100, 100);
    inputs.availableMemory = 100u * 1024 * 1024; // 100 MiB for a 25600-pixel square
    // Refused before the scheduling dialog: a long countdown and a dial would be wasted.
    inputs.settings.scheduleDialog = true;
    front.scheduleResult =
        ScheduleChoice{.dial = true, .entry = "modem", .user = "", .password = "", .hangUp = true};
    EXPECT_EQ(Run(inputs), JobEnding::TooLarge);
    EXPECT_TRUE(http.requests.isEmpty());
    const QString log = front.events.join('\n');
    EXPECT_FALSE(log.contains("AskSchedule")) << log.toStdString();
    EXPECT_FALSE(log.contains("Dial")) << log.toStdString();
    EXPECT_EQ(front.statuses, QStringList({"Отключение..."})); // the option hangs up, no more
}

TEST_F(StitchJob, ACancelledScheduleEndsBeforeAnythingWithTheCountersReset) {
    counters.receiveErrors = 7;
    StitchInputs inputs = Inputs(2, 2);
    inputs.settings.scheduleDialog = true;
    front.scheduleResult.reset();
    EXPECT_EQ(Run(inputs), JobEnding::ScheduleCancelled);
    EXPECT_EQ(counters.receiveErrors, 0);
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_TRUE(front.progress.empty());
}

TEST_F(StitchJob, ACancelCutsTheRetryPauseShort) {
    StitchInputs inputs = Inputs(2, 1);
    inputs.settings.retry.attempts = 3;
    inputs.settings.retry.pauseSeconds = 10; // 99 sleeps of 100 ms
    front.cancelAtPump = 5;                  // during the first pause
    EXPECT_EQ(Run(inputs), JobEnding::Cancelled);
    EXPECT_EQ(http.requests.size(), 1);
    EXPECT_LT(front.sleeps.size(), 5);
}

TEST_F(StitchJob, CancelIsSeenBeforeTheNextTileAndHangsUpWhenAsked) {
    StitchInputs inputs = Inputs(3, 1);
    inputs.settings.scheduleDialog = true;
    front.scheduleResult = ScheduleChoice{
        .dial = true, .entry = "modem", .user = "u", .password = "p", .hangUp = true};
    ReplyTiles(3);
    front.cancelAtPump = 3; // while the first tile loads
    EXPECT_EQ(Run(inputs), JobEnding::Cancelled);
    EXPECT_EQ(http.requests.size(), 1);
    const QString log = front.events.join('\n');
    EXPECT_TRUE(log.contains("Dial modem")) << log.toStdString();
    EXPECT_TRUE(log.endsWith("HangUp 1\nEnded 2 ")) << log.toStdString();
}
