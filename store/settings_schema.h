// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every line of the settings file in one table: which Settings member it holds, how it is
// written, what it is when no file sets it and, for numbers, what a line that is not an
// integer reads as and the range it is clamped to. Reading, writing and the defaults all
// follow the table.
#include "store/settings.h"
#include "store/settings_file.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <variant>

template <typename T> using SettingsMember = T& (*)(Settings&);

// Written and read back unchanged.
struct TextField {
    SettingsMember<QString> member;
    QString design;
};

// The token when on, "-" when off; only the exact token reads as on.
struct FlagField {
    SettingsMember<bool> member;
    QStringView token;
    bool design;
};

// Decimal. A line that is not an integer reads as the fallback, which need not be the design
// value: a search zoom box starts with no selection (-1) but reads "abc" as index 1.
struct NumberField {
    SettingsMember<int> member;
    int design;
    int fallback;
    std::optional<SpinRange> range; // the spinner's range, to which a read value is clamped
};

struct SettingsLineSchema {
    int line;
    std::variant<TextField, FlagField, NumberField> field;
};

// Indexed by line number.
const std::array<SettingsLineSchema, kSettingsLineCount>& SettingsSchema();

// What the window's controls start with and what a line missing from the file leaves.
Settings DesignSettings();

// The file's lines applied in order over the design values, up to the first missing line;
// the view only from a complete file whose view is usable.
Settings SettingsFromFile(const SettingsFile& file);

// The 29 lines of the file. By value: the members are reached through a copy of its own.
SettingsLines SettingsLinesOf(Settings settings);

// The lines after the layout: the source line when the source is not the demo or a window
// size follows, then the size when the window was left at another than the starting size, so
// that a file of the demo source at the starting size stays as older versions wrote it; then
// the view's refresh days when not 0.
QStringList AddedSettingsLinesOf(const Settings& settings);

// How one flag or number line is written.
QString FlagLine(int line, bool on);
QString NumberLine(int value);
