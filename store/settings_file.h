// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing the settings file. The main window applies the lines to its controls in
// ascending order and stops at the first line that is missing.
#include "store/settings_layout.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

class SettingsFile {
public:
    // No lines at all: a missing or unreadable file.
    SettingsFile() = default;
    // Keeps the first kSettingsLineCount lines, and the source line after them; any further
    // lines mean nothing.
    explicit SettingsFile(QStringList lines);

    // A file shorter than the layout has its lines up to some point and none after it.
    bool has(int line) const { return line >= 0 && line < lines_.size(); }
    bool complete() const { return lines_.size() == kSettingsLineCount; }

    // Each accessor gives its neutral value for a missing line (empty, off, the fallback);
    // the caller checks has() first.
    QString text(int line) const;
    // On only when the line is exactly the line's token.
    bool flag(int line) const;
    // The line as an integer, or the layout's fallback when it is not one.
    int number(int line) const;
    // The line after the layout, when a complete file has it.
    std::optional<QString> sourceName() const { return sourceName_; }
    // The line after the source, when there is one: "WIDTHxHEIGHT" in pixels, or nothing for
    // text of any other form.
    std::optional<std::pair<int, int>> windowSize() const { return windowSize_; }
    // The line after the size: the view's refresh days, or 0 when missing or not a number.
    int refreshDays() const { return refreshDays_; }

private:
    QStringList lines_;
    std::optional<QString> sourceName_;
    std::optional<std::pair<int, int>> windowSize_;
    int refreshDays_ = 0;
};

// Never fails: a missing or unreadable file, or one larger than 64 KiB, gives a SettingsFile
// without lines.
SettingsFile LoadSettings(const QString& path);

using SettingsLines = std::array<QString, kSettingsLineCount>;

// Replaces the file with the lines, then the added lines after them; false when it could not
// be written (the old file stays).
bool SaveSettings(const QString& path, const SettingsLines& lines,
                  const QStringList& addedLines = {});
