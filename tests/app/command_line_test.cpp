// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/progress_line.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>
#include <tuple>

namespace {

BatchCommand Parse(const QString& line) {
    return ParseBatchCommand(line.split(' ', Qt::SkipEmptyParts));
}

QString ErrorOf(const BatchCommand& command) {
    const auto* error = std::get_if<CommandError>(&command);
    return error ? error->reason : QString();
}

} // namespace

TEST(CommandLine, StitchTakesEveryOptionAndLeavesTheRestToTheSettings) {
    const auto command =
        Parse("stitch --home /maps --output /tmp/a.jpg --columns 3 --quality 90 --at "
              "59.93,-30.5 --level 12 --delay 1:30 --dial modem --user ivan --hang-up");
    const auto* s = std::get_if<StitchCommand>(&command);
    ASSERT_TRUE(s) << ErrorOf(command).toStdString();
    EXPECT_EQ(s->home, "/maps");
    EXPECT_EQ(s->output, "/tmp/a.jpg");
    EXPECT_EQ(s->columns, "3");
    EXPECT_FALSE(s->rows); // from ORB.ini
    EXPECT_EQ(s->quality, 90);
    ASSERT_TRUE(s->at);
    EXPECT_DOUBLE_EQ(s->at->latitude, 59.93);
    EXPECT_DOUBLE_EQ(s->at->longitude, -30.5);
    EXPECT_EQ(s->at->level, 12);
    EXPECT_EQ(s->schedule.delayMinutes, 90);
    EXPECT_EQ(s->schedule.dialEntry, "modem");
    EXPECT_EQ(s->schedule.user, "ivan");
    EXPECT_TRUE(s->schedule.hangUp);
    EXPECT_TRUE(s->schedule.any);

    const auto plain = Parse("stitch --home /maps --output a.jpg");
    ASSERT_TRUE(std::holds_alternative<StitchCommand>(plain));
    EXPECT_FALSE(std::get<StitchCommand>(plain).schedule.any); // no dialog, no dialling
}

TEST(CommandLine, PrefillTakesItsDepthAndDialsWithTheUserOfThePeerFile) {
    const auto command = Parse("prefill --home /maps --depth 7 --dial modem");
    const auto* p = std::get_if<PrefillCommand>(&command);
    ASSERT_TRUE(p) << ErrorOf(command).toStdString();
    EXPECT_EQ(p->depth, "7");
    EXPECT_EQ(p->schedule.dialEntry, "modem");
    EXPECT_TRUE(p->schedule.user.isEmpty());
    EXPECT_FALSE(p->schedule.hangUp);
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(Parse("prefill --home /maps --help")));
}

TEST(CommandLine, ExportTakesAMapFileItsDepthAndAPoint) {
    const auto command = Parse("export --home /maps --output /tmp/a.MBTILES --depth 9 --at "
                               "59.93,30.31 --level 7");
    const auto* e = std::get_if<ExportCommand>(&command);
    ASSERT_TRUE(e) << ErrorOf(command).toStdString();
    EXPECT_EQ(e->output, "/tmp/a.MBTILES");
    EXPECT_EQ(e->depth, "9");
    ASSERT_TRUE(e->at);
    EXPECT_EQ(e->at->level, 7);
    EXPECT_TRUE(std::holds_alternative<ExportCommand>(Parse("export --home /m --output b.kmz")));
}

TEST(CommandLine, RefusesWhatItCannotRunWithAReason) {
    for (const char* line : {
             "stitch --output a.jpg",                      // no home
             "stitch --home /maps",                        // no output
             "prefill --home /maps --output a.jpg",        // not an option of prefill
             "stitch --home /m --output a --quality 101",  // beyond the spinner
             "prefill --home /m --at 59.9,30.3",           // a point needs its level
             "prefill --home /m --at 91,0 --level 3",      // no such latitude
             "prefill --home /m --at 59.9;30.3 --level 3", // not LAT,LON
             "prefill --home /m --delay 90",               // not H:MM
             "prefill --home /m --delay 1:61",             // minutes beyond the dialog's
             "prefill --home /m --user ivan",              // a user without a dial
             "prefill --home /m --depth 3 --depth 4",      // which one?
             "prefill --home /m --password secret",        // secrets never on argv
             "prefill --home",                             // a value is missing
             "draw --home /m",                             // no such command
             "export --home /m",                           // no output
             "export --home /m --output a.jpg",            // neither MBTiles nor KMZ
             "export --home /m --output a.kmz --depth 0",  // below the least depth
             "export --home /m --output a.kmz --hang-up",  // nothing to hang up
         }) {
        const QString reason = ErrorOf(Parse(QString::fromUtf8(line)));
        EXPECT_FALSE(reason.isEmpty()) << line;
        EXPECT_FALSE(reason.contains('\n')) << line;
    }
    EXPECT_TRUE(
        ErrorOf(Parse("prefill --home /m --password secret")).contains("ORBIVIST_DIAL_PASSWORD"));
}

TEST(ProgressLine, ShowsCountRateTimeLeftAndErrors) {
    TileCounters counters;
    counters.receiveErrors = 2;
    counters.writeErrors = 1;
    counters.tilesObtained = 64;
    EXPECT_EQ(ProgressLine(64, 256, 8.0, counters),
              "Закачано 64 из 256 (25%), 8,0 фрагм./с, осталось 0:00:24; "
              "ошибок: получения 2, jpeg 0, записи 1");
    // A tile that failed every attempt moves the position on but is not counted as fetched.
    TileCounters missing;
    missing.tilesMissing = 3;
    missing.tilesObtained = 1;
    EXPECT_TRUE(ProgressLine(4, 4, 2.0, missing).startsWith("Закачано 1 из 4 (25%), 0,5 фрагм./с"));
    // Before the first tile there is no rate to speak of.
    EXPECT_EQ(ProgressLine(0, 4, 0.5, TileCounters{}),
              "Закачано 0 из 4 (0%); ошибок: получения 0, jpeg 0, записи 0");
    // Counts beyond 32 bits.
    TileCounters many;
    many.tilesObtained = std::int64_t{1} << 33;
    EXPECT_TRUE(ProgressLine(std::int64_t{1} << 33, std::int64_t{1} << 34, 1.0, many)
                    .startsWith("Закачано 8589934592 из 17179869184 (50%)"));
}

TEST(CommandLine, JobSettingsForOneRunStayWithinTheWindowsRanges) {
    const auto command = Parse("prefill --home /m --retries 4 --retry-pause 9 --max-errors "
                               "write=2,receive=500");
    const auto* p = std::get_if<PrefillCommand>(&command);
    ASSERT_TRUE(p) << ErrorOf(command).toStdString();
    EXPECT_EQ(p->retry.attempts, 4);
    EXPECT_EQ(p->retry.pauseSeconds, 9);
    EXPECT_EQ(p->retry.receiveLimit, 500);
    EXPECT_FALSE(p->retry.badFileLimit); // from ORB.ini
    EXPECT_EQ(p->retry.writeLimit, 2);
    const auto paced = Parse("export --home /m --output a.kmz --rate 0.5 --bandwidth 64k "
                             "--refresh-older-than 30");
    const auto* e = std::get_if<ExportCommand>(&paced);
    ASSERT_TRUE(e) << ErrorOf(paced).toStdString();
    EXPECT_EQ(std::tuple(e->retry.rate, e->retry.bandwidth, e->retry.refreshOlderThanDays),
              std::tuple(0.5, qint64{65536}, 30));
    const struct {
        const char* line;
        const char* reason;
    } refused[] = {
        {"prefill --home /m --retries 11", "(целое число от 1 до 10)"},
        {"prefill --home /m --retry-pause 0", "(целое число от 1 до 60)"},
        {"export --home /m --output a.kmz --max-errors write=51", "write от 1 до 50"},
        {"prefill --home /m --max-errors bad=1,bad=2", "receive=N,bad=N,write=N"},
        {"prefill --home /m --max-errors colour=1", "receive=N,bad=N,write=N"},
        {"export --home /m --output a.tif", "(ФАЙЛ.mbtiles, .gpkg"},
        {"stitch --home /m --output a extra", "лишний аргумент extra"},
        {"prefill --home /m --rate 0", "(запросов в секунду, больше 0"},
        {"prefill --home /m --bandwidth 1x", "(байт в секунду"},
        {"prefill --home /m --refresh-older-than -1", "(дни, целое число от 0 до 3650)"},
        {"stitch --home /m --output a.jpg --refresh-older-than 1", "неизвестный параметр"},
    };
    for (const auto& r : refused)
        EXPECT_TRUE(ErrorOf(Parse(r.line)).contains(r.reason))
            << r.line << ": " << ErrorOf(Parse(r.line)).toStdString();
}

TEST(CommandLine, TheViewerRefusesWhatIsNoOptionOfItsBeforeQtStarts) {
    // The viewer refuses before Qt sees anything: no display plugin is loaded for a typo.
    const struct {
        const char* line;
        const char* reason; // empty: the viewer starts
    } viewer[] = {
        {"--home /m --source osm", ""},
        {"-platform offscreen", ""},
        {"stich --home /m", "неизвестная команда \"stich\""},
        {"--home /m extra", "неизвестная команда \"extra\""},
        {"--colour red", "неизвестный параметр --colour"},
        {"--home", "--home требует значения"},
    };
    for (const auto& v : viewer) {
        const std::optional<QString> refusal =
            ViewerArgumentsRefusal(QString::fromUtf8(v.line).split(' '));
        EXPECT_EQ(refusal.has_value(), *v.reason != '\0') << v.line;
        if (refusal) {
            EXPECT_TRUE(refusal->startsWith(QString::fromUtf8(v.reason))) << v.line;
        }
    }
}

TEST(CommandLine, EachCommandsHelpListsItsOwnOptionsWithTheirRangesInTheRunsLanguage) {
    const auto help = Parse("stitch --home /m --help");
    ASSERT_TRUE(std::holds_alternative<HelpRequest>(help));
    const QString command = std::get<HelpRequest>(help).command;
    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    EXPECT_TRUE(UsageText(command).contains(QStringLiteral("качество JPEG, от 20 до 100")));
    EXPECT_TRUE(UsageText().startsWith(QStringLiteral("Вызов: orbivist [--home DIR]")));
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral("orbivist_en"), QStringLiteral(ORBIVIST_BUILD_DIR)));
    QCoreApplication::installTranslator(&english);
    const QString stitch = UsageText(command);
    const QString whole = UsageText();
    QCoreApplication::removeTranslator(&english);
    for (const char* option : {"--output", "--columns", "--quality Q", "20 to 100", "--retries",
                               "--max-errors", "--lang", "--source", "Exit status"})
        EXPECT_TRUE(stitch.contains(option)) << option;
    for (const char* other : {"--depth", "--dry-run", "orbivist prefill"})
        EXPECT_FALSE(stitch.contains(other)) << other;
    for (const char* option : {"orbivist prefill", "orbivist export", "--levels A-B", "--version"})
        EXPECT_TRUE(whole.contains(option)) << option;
    EXPECT_FALSE(whole.contains(cyrillic));
    EXPECT_TRUE(whole.startsWith("Usage: orbivist [--home DIR]"));
}
