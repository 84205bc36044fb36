// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_schema.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <gtest/gtest.h>

// The source line after the layout: written only for a source other than the demo, so that a
// demo user's file stays byte for byte what older versions wrote and read.
TEST(SettingsSourceLine, RoundTripsAndStaysOffTheFileOfTheDemoSource) {
    struct Case {
        QString chosen;
        qsizetype lines; // in the file written
        QString readBack;
        int refreshDays = 0; // then the source and size lines are written too
    };
    const Case cases[] = {
        {"demo", kSettingsLineCount, "demo"},
        {"DEMO", kSettingsLineCount, "demo"},
        {"my-imagery", kSettingsLineCount + 1, "my-imagery"},
        {"Спутник", kSettingsLineCount + 1, "Спутник"},
        {"demo", kSettingsLineCount + 3, "demo", 7},
        {"my-imagery", kSettingsLineCount + 3, "my-imagery", 3650},
    };
    for (const Case& c : cases) {
        Settings settings = DesignSettings();
        settings.sourceName = c.chosen;
        settings.refreshDays = c.refreshDays;
        TempDir dir;
        ASSERT_TRUE(SaveSettings(dir.file("ORB.ini"), SettingsLinesOf(settings),
                                 AddedSettingsLinesOf(settings)));
        QFile file(dir.file("ORB.ini"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count("\r\n"), c.lines) << c.chosen.toStdString();
        const Settings read = ReadSettings(dir.file("ORB.ini"));
        EXPECT_EQ(read.sourceName, c.readBack);
        settings.sourceName = read.sourceName;
        settings.linesPresent = kSettingsLineCount;
        EXPECT_EQ(read, settings) << "the other lines keep their meaning";
    }
}
