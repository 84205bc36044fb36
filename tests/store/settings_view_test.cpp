// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_view.h"

#include "store/settings_schema.h"
#include "tests/store/qt_print.h"
#include "tests/support/temp_dir.h"
#include "tiles/default_source.h"

#include <gtest/gtest.h>

using namespace SettingsLine;

namespace {

// The four children of a tile; the check does not ask for them to form a 2 by 2 block.
ViewUrls Children(const QString& tile) {
    return {tile + 'q', tile + 'r', tile + 's', tile + 't'};
}

SettingsView SavedAndLoaded(const ViewUrls& urls, int prefixLength) {
    SettingsLines lines;
    std::copy(urls.begin(), urls.end(), lines.begin());
    lines[PrefixLength] = NumberLine(prefixLength);
    TempDir dir;
    EXPECT_TRUE(SaveSettings(dir.file("ORB.ini"), lines));
    return ViewFromSettings(LoadSettings(dir.file("ORB.ini")));
}

} // namespace

TEST(SettingsView, EveryReachableViewComesBack) {
    const QString p = DefaultSourcePrefix();
    const int n = DefaultPrefixLength();
    const std::pair<ViewUrls, int> views[] = {
        {Children(p + QString("qrst").repeated(5)), n}, // level 21, after a click at 20
        {Children(p + QString("st").repeated(20)), n},  // clicks never stop zooming in
        {Children("x"), 1},
        {Children(""), 0}, // an empty prefix can be typed in
    };
    for (const auto& [urls, prefixLength] : views) {
        const SettingsView view = SavedAndLoaded(urls, prefixLength);
        EXPECT_EQ(view.urls, urls);
        EXPECT_EQ(view.prefixLength, prefixLength);
    }
}

TEST(SettingsView, UnusableViewFallsBackToTheDefaults) {
    const int n = DefaultPrefixLength();
    const ViewUrls good = Children(DefaultSourcePrefix());
    ViewUrls otherPrefix = good, uneven = good, foreign = good;
    otherPrefix[2].replace(0, 4, "ftp:");
    uneven[3] += 'q';
    foreign[1][n] = 'x';
    const std::pair<ViewUrls, int> views[] = {{good, n - 2}, {good, n + 1},    {good, 400},
                                              {good, -1},    {otherPrefix, n}, {uneven, n},
                                              {foreign, n},  {ViewUrls{}, 0}};
    for (const auto& [urls, prefixLength] : views) {
        EXPECT_FALSE(IsUsableView(urls, prefixLength)) << prefixLength;
        const SettingsView view = SavedAndLoaded(urls, prefixLength);
        EXPECT_EQ(view.urls, DefaultViewUrls());
        EXPECT_EQ(view.prefixLength, n);
    }
}

TEST(SettingsView, IncompleteFileGivesTheDefaultsEvenWithAGoodView) {
    const ViewUrls urls = Children(DefaultSourcePrefix() + "ss");
    QStringList lines(urls.begin(), urls.end());
    lines.resize(kSettingsLineCount - 1);
    lines[PrefixLength] = NumberLine(DefaultPrefixLength());
    EXPECT_EQ(ViewFromSettings(SettingsFile(lines)).urls, DefaultViewUrls());
    lines.append("1");
    EXPECT_EQ(ViewFromSettings(SettingsFile(lines)).urls, urls);
}
