// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of the settings file: which control shows each line. What a line holds,
// its default and how it is written are the schema's (store/settings_schema.h), so a new
// setting is one row there and one row in the window's table.
#include "store/settings.h"
#include "store/work_mode_lines.h"

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

// The line's value in settings into the row's control. By reference: the schema reaches the
// members through a Settings of the caller's own.
void ShowSettingsLine(const SettingsControlRow& row, Settings& settings);
// The control's value into the line's member of settings.
void TakeSettingsLine(const SettingsControlRow& row, Settings& settings);
