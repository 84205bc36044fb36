// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/work_mode_lines.h"

#include "store/settings_layout.h"

#include <gtest/gtest.h>

namespace {

using SettingsLine::ModeCacheOnly;

TEST(ShowModeLines, FollowsOneExclusiveGroupLineByLine) {
    struct Case {
        std::array<bool, 3> lines;
        int linesPresent;
        std::array<bool, 3> on;
        int switchedOn, named;
    };
    const int all = kSettingsLineCount;
    const Case cases[] = {
        {{false, false, true}, all, {false, false, true}, -1, 2}, // already on: only named
        {{true, false, false}, all, {true, false, false}, 0, 0},
        {{true, false, true}, all, {false, false, true}, 2, 2}, // the last line wins
        {{true, true, false}, all, {false, true, false}, 1, 1},
        {{false, false, false}, all, {false, false, false}, -1, -1}, // none selected
        {{false, true, true}, ModeCacheOnly + 2, {false, true, false}, 1, 1},
        {{true, true, true}, ModeCacheOnly, {false, false, true}, -1, -1}, // no mode line read
    };
    for (const Case& c : cases) {
        const ShownModes shown = ShowModeLines(c.lines, c.linesPresent);
        EXPECT_EQ(shown.on, c.on) << c.lines[0] << c.lines[1] << c.lines[2] << c.linesPresent;
        EXPECT_EQ(shown.switchedOn, c.switchedOn) << c.lines[0] << c.lines[1] << c.lines[2];
        EXPECT_EQ(shown.named, c.named) << c.lines[0] << c.lines[1] << c.lines[2];
    }
}

} // namespace
