// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_schema.h"

#include "tests/store/qt_print.h"
#include "tiles/default_source.h"

#include <gtest/gtest.h>

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

// A missing line keeps the design value, a line that is not a number reads as the fallback,
// and the two differ for the search zoom box.
TEST(SettingsSchema, MissingAndUnreadableNumbersDiffer) {
    QStringList lines(kSettingsLineCount, QStringLiteral("x"));
    EXPECT_EQ(SettingsFromFile(SettingsFile(lines)).searchZoom, 1);
    EXPECT_EQ(SettingsFromFile(SettingsFile(lines.first(SettingsLine::SearchZoom))).searchZoom, -1);
}
