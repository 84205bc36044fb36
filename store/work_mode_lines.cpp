// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/work_mode_lines.h"

#include "store/settings_layout.h"

#include <cstddef>

ShownModes ShowModeLines(const std::array<bool, 3>& lines, int linesPresent) {
    ShownModes shown;
    for (int mode = 0; mode < 3; ++mode) {
        if (SettingsLine::ModeCacheOnly + mode >= linesPresent)
            break;
        const auto i = static_cast<std::size_t>(mode);
        if (lines[i] && !shown.on[i]) {
            shown.on = {};
            shown.on[i] = true;
            shown.switchedOn = mode;
        } else if (!lines[i]) {
            shown.on[i] = false; // a file may select no mode at all
        }
        if (shown.on[i])
            shown.named = mode;
    }
    return shown;
}
