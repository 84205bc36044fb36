#include "store/settings_schema.h"

#include "tests/store/qt_print.h"
#include "tiles/default_source.h"

#include <gtest/gtest.h>

namespace {

// Every member off its design value, every number inside its range.
Settings Changed() {
    const QString p = QStringLiteral("http://other/kh?t=t");
    Settings s;
    s.linesPresent = kSettingsLineCount;
    s.view = {{p + "qs", p + "rt", p + "sq", p + "tr"}, static_cast<int>(p.size())};
    s.modeLines = {true, false, true};
    s.scheduleDialog = s.useProxy = s.useCacheDirectory = true;
    s.proxyServer = QStringLiteral("прокси.local");
    s.proxyPort = QStringLiteral("3128");
    s.proxyUser = QStringLiteral("user");
    s.proxyPassword = QStringLiteral("pass word");
    s.latHemisphere = 1;
    s.lonHemisphere = -1;
    s.markPoint = false;
    s.searchZoom = 19;
    s.stitchColumns = QStringLiteral("abc");
    s.stitchRows = QString();
    s.jpegQuality = 20;
    s.prefillLevel = QStringLiteral("12");
    s.fetchAttempts = 10;
    s.writeErrorLimit = 50;
    s.receiveErrorLimit = 500;
    s.badFileErrorLimit = 1;
    s.retryInterval = 60;
    s.cacheDirectory = QStringLiteral("/tmp/cache");
    return s;
}

} // namespace

// The file a program writes when nothing was ever changed, byte for byte as it always was.
TEST(SettingsSchema, DesignSettingsWriteTheFreshFile) {
    const QString p = DefaultSourcePrefix();
    const QStringList fresh = {
        p + "q", p + "r", p + "s", p + "t", "-",  "-", "ci",
        "-",     "-",     "",      "",      "",   "",  QString::number(p.size()),
        "0",     "1",     "p",     "-1",    "5",  "5", "100",
        "5",     "3",     "3",     "3",     "25", "",  "-",
        "1"};
    const SettingsLines lines = SettingsLinesOf(DesignSettings());
    EXPECT_EQ(QStringList(lines.begin(), lines.end()), fresh);
}

TEST(SettingsSchema, SettingsSurviveLinesAndBack) {
    Settings design = DesignSettings();
    design.linesPresent = kSettingsLineCount;
    for (const Settings& s : {design, Changed()}) {
        const SettingsLines lines = SettingsLinesOf(s);
        const Settings read =
            SettingsFromFile(SettingsFile(QStringList(lines.begin(), lines.end())));
        EXPECT_EQ(read, s) << lines[SettingsLine::ProxyServer].toStdString();
        EXPECT_EQ(SettingsLinesOf(read), lines);
    }
}

// A missing line keeps the design value, a line that is not a number reads as the fallback,
// and the two differ for the search zoom box.
TEST(SettingsSchema, MissingAndUnreadableNumbersDiffer) {
    QStringList lines(kSettingsLineCount, QStringLiteral("x"));
    EXPECT_EQ(SettingsFromFile(SettingsFile(lines)).searchZoom, 1);
    EXPECT_EQ(SettingsFromFile(SettingsFile(lines.first(SettingsLine::SearchZoom))).searchZoom, -1);
}
