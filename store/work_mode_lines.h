// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the settings file's three work-mode lines come to, worked out without the radio buttons
// that show them: a window whose settings tab is not built yet holds the same mode and
// captions as the buttons would.
#include <array>

// The three work-mode lines shown in file order on their radio buttons: one exclusive group
// that starts with "both" on, where a line missing from the file is not shown. Which buttons
// end up on; which was switched on last (the status line takes its caption) and which was on
// just after its own line last (the mode button takes its caption), -1 for none.
struct ShownModes {
    std::array<bool, 3> on{false, false, true};
    int switchedOn = -1;
    int named = -1;
};
ShownModes ShowModeLines(const std::array<bool, 3>& lines, int linesPresent);
