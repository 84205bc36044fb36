// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of the settings file: which control shows each line. What a line holds,
// its default and how it is written are the schema's (store/settings_schema.h), so a new
// setting is one row there and one row in the window's table.
#include "store/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <array>
#include <variant>

// A text line shows in a field, a flag in a check box or a radio button, a number in a
// spinner or as a combo box's item index.
using SettingsControl = std::variant<QLineEdit*, QCheckBox*, QRadioButton*, QSpinBox*, QComboBox*>;

struct SettingsControlRow {
    int line;
    SettingsControl control;
};

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

// The line's value in settings into the row's control. By reference: the schema reaches the
// members through a Settings of the caller's own.
void ShowSettingsLine(const SettingsControlRow& row, Settings& settings);
// The control's value into the line's member of settings.
void TakeSettingsLine(const SettingsControlRow& row, Settings& settings);
