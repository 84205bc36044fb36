// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_schema.h"

#include <gtest/gtest.h>

using namespace SettingsLine;

namespace {

// A file whose first `count` lines are those of a complete file with the given changes.
SettingsFile FileWith(std::initializer_list<std::pair<int, QString>> changes,
                      int count = kSettingsLineCount) {
    SettingsLines lines;
    lines.fill(QStringLiteral("-"));
    for (const auto& [line, text] : changes)
        lines[line] = text;
    return SettingsFile(QStringList(lines.begin(), lines.begin() + count));
}

} // namespace

TEST(Settings, WorkModeFollowsTheRadioButtonsAppliedInOrder) {
    EXPECT_EQ(WorkModeOf(SettingsFromFile(FileWith({{ModeCacheOnly, "c"}}))), WorkMode::CacheOnly);
    EXPECT_EQ(WorkModeOf(SettingsFromFile(FileWith({{ModeInternetOnly, "i"}}))),
              WorkMode::InternetOnly);
    // The last line that is on wins, as checking a radio button unchecks the others.
    EXPECT_EQ(WorkModeOf(
                  SettingsFromFile(FileWith({{ModeCacheOnly, "c"}, {ModeCacheAndInternet, "ci"}}))),
              WorkMode::CacheAndInternet);
    // None on: no button selected, and the loader works with both.
    EXPECT_EQ(WorkModeOf(SettingsFromFile(FileWith({}))), WorkMode::CacheAndInternet);
    // A file that ends after the cache-only line leaves the design-time "both" unchecked by it.
    EXPECT_EQ(WorkModeOf(SettingsFromFile(FileWith({{ModeCacheOnly, "c"}}, ModeCacheOnly + 1))),
              WorkMode::CacheOnly);
    EXPECT_EQ(WorkModeOf(SettingsFromFile(FileWith({}, ModeCacheOnly + 1))),
              WorkMode::CacheAndInternet);
}

TEST(Settings, NumbersAreClampedToTheirSpinnersAndMissingLinesKeepDesignValues) {
    const Settings s = SettingsFromFile(FileWith(
        {{FetchAttempts, "0"}, {JpegQuality, "250"}, {RetryInterval, "x"}, {StitchColumns, "7"}},
        RetryInterval + 1));
    EXPECT_EQ(s.fetchAttempts, 1);
    EXPECT_EQ(s.jpegQuality, 100);
    EXPECT_EQ(s.retryInterval, 1); // not a number: the line's fallback
    EXPECT_EQ(s.stitchColumns, "7");

    const Settings shortFile = SettingsFromFile(FileWith({{StitchColumns, "9"}}, StitchColumns));
    EXPECT_EQ(shortFile.linesPresent, StitchColumns);
    EXPECT_EQ(shortFile.stitchColumns, "5");
    EXPECT_EQ(shortFile.badFileErrorLimit, 25);
    EXPECT_EQ(shortFile.view.urls, DefaultSettingsView().urls); // an incomplete file's view
}

TEST(Settings, CacheRootNeedsTheFlagAndANamedDirectory) {
    const QString fallback = QStringLiteral("/home/Cash/");
    EXPECT_EQ(CacheRootFor(false, "/maps", fallback), fallback);
    EXPECT_EQ(CacheRootFor(true, "  ", fallback), fallback);
    EXPECT_EQ(CacheRootFor(true, "/maps", fallback), "/maps/");
}
