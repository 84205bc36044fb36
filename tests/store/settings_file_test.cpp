// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_file.h"

#include "store/settings_schema.h"
#include "tests/support/full_disk.h"
#include "tests/support/temp_dir.h"
#include "tiles/default_source.h"

#include <gtest/gtest.h>

using namespace SettingsLine;

TEST(SettingsFile, EverySavedValueLoadsBack) {
    SettingsLines lines;
    for (int i = 0; i < kSettingsLineCount; ++i)
        lines[i] = u"значение %1"_qs.arg(i);
    lines[ProxyPassword] = u"Пароль!"_qs;
    lines[CacheDirectory] = "";
    TempDir dir;
    ASSERT_TRUE(SaveSettings(dir.file("ORB.ini"), lines));
    const SettingsFile file = LoadSettings(dir.file("ORB.ini"));
    ASSERT_TRUE(file.complete());
    for (int i = 0; i < kSettingsLineCount; ++i)
        EXPECT_EQ(file.text(i), lines[i]) << i;
}

TEST(SettingsFile, KeepsOnlyTheLinesOfTheLayout) {
    QStringList lines;
    for (int i = 0; i < 35; ++i)
        lines.append(QString::number(i));
    const SettingsFile longFile(lines);
    EXPECT_TRUE(longFile.complete());
    EXPECT_FALSE(longFile.has(kSettingsLineCount));
    const SettingsFile shortFile(lines.first(20));
    EXPECT_TRUE(shortFile.has(StitchRows));
    EXPECT_FALSE(shortFile.has(JpegQuality));
    EXPECT_FALSE(shortFile.complete());
    EXPECT_FALSE(LoadSettings("/nonexistent/ORB.ini").has(ViewTopLeft));
}

TEST(SettingsFile, ReadsFlagsExactlyAndBadNumbersAsDefaults) {
    QStringList lines(kSettingsLineCount, "1");
    lines[ModeCacheOnly] = "c ";
    lines[ModeInternetOnly] = "-";
    lines[UseCacheDirectory] = "C";
    lines[MarkPoint] = FlagLine(MarkPoint, true);
    lines[PrefixLength] = "abc";
    lines[BadFileErrorLimit] = "";
    lines[FetchAttempts] = " 5";
    const SettingsFile file(lines);
    EXPECT_FALSE(file.flag(ModeCacheOnly));
    EXPECT_FALSE(file.flag(ModeInternetOnly));
    EXPECT_FALSE(file.flag(UseCacheDirectory));
    EXPECT_TRUE(file.flag(MarkPoint));
    EXPECT_EQ(file.number(PrefixLength), DefaultPrefixLength());
    EXPECT_EQ(file.number(BadFileErrorLimit), 25);
    EXPECT_EQ(file.number(FetchAttempts), 3);
}

namespace {

bool SaveSample(const QString& path, bool first) {
    SettingsLines lines;
    lines.fill(first ? QStringLiteral("old") : QStringLiteral("a new and longer value"));
    return SaveSettings(path, lines);
}

} // namespace

TEST(SettingsFile, FullDiskFailsTheSaveAndKeepsTheOldFile) {
    ExpectFullDiskKeepsTheOldFile("ORB.ini", SaveSample, 0);
}

TEST(SettingsFile, FileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    ExpectSizeLimitKeepsTheOldFile("ORB.ini", SaveSample, 100);
}

TEST(SettingsFile, AFileOverSixtyFourKibibytesIsNotASettingsFile) {
    TempDir dir;
    QByteArray bytes = QByteArray("1\r\n").repeated(kSettingsLineCount);
    bytes += QByteArray(64 * 1024 - bytes.size(), '\n');
    dir.write("ORB.ini", bytes);
    EXPECT_TRUE(LoadSettings(dir.file("ORB.ini")).complete());
    dir.write("ORB.ini", bytes + '\n');
    EXPECT_FALSE(LoadSettings(dir.file("ORB.ini")).has(ViewTopLeft));
}
