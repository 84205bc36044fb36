// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_file.h"

#include "store/cp1251_lines.h"
#include "store/settings_schema.h"
#include "tiles/decimal_text.h"

#include <algorithm>
#include <utility>

namespace {

// 29 lines of settings take a few hundred bytes; anything this large is not a settings file,
// and reading it would only delay the start.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

// Sizes beyond any screen are a damaged line, not a window to open.
constexpr int kMostWindowPixels = 100000;

std::optional<std::pair<int, int>> WindowSizeOfText(const QString& text) {
    const QStringList parts = text.split(u'x');
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<int> width = ParseInt(QStringView(parts[0]).trimmed());
    const std::optional<int> height = ParseInt(QStringView(parts[1]).trimmed());
    if (!width || !height || *width <= 0 || *height <= 0 || *width > kMostWindowPixels ||
        *height > kMostWindowPixels)
        return std::nullopt;
    return std::pair{*width, *height};
}

} // namespace

SettingsFile::SettingsFile(QStringList lines) : lines_(std::move(lines)) {
    if (lines_.size() > SettingsLine::SourceName)
        sourceName_ = lines_[SettingsLine::SourceName];
    if (lines_.size() > SettingsLine::WindowSize)
        windowSize_ = WindowSizeOfText(lines_[SettingsLine::WindowSize]);
    if (lines_.size() > SettingsLine::RefreshDays)
        refreshDays_ = std::clamp(ParseIntOr(lines_[SettingsLine::RefreshDays], 0),
                                  SettingsRange::RefreshDays.min, SettingsRange::RefreshDays.max);
    if (lines_.size() > kSettingsLineCount)
        lines_.resize(kSettingsLineCount);
}

QString SettingsFile::text(int line) const {
    return has(line) ? lines_[line] : QString();
}

bool SettingsFile::flag(int line) const {
    if (!has(line))
        return false;
    const auto* flag = std::get_if<FlagField>(&SettingsSchema()[line].field);
    Q_ASSERT(flag);
    return flag && lines_[line] == flag->token;
}

int SettingsFile::number(int line) const {
    if (line < 0 || line >= kSettingsLineCount)
        return 0;
    const auto* number = std::get_if<NumberField>(&SettingsSchema()[line].field);
    Q_ASSERT(number);
    const int fallback = number ? number->fallback : 0;
    return has(line) ? ParseIntOr(lines_[line], fallback) : fallback;
}

SettingsFile LoadSettings(const QString& path) {
    // Every line takes at least one byte, so the byte limit bounds the lines too.
    Cp1251Lines file = ReadCp1251Lines(path, kMaxSettingsBytes, kMaxSettingsBytes);
    if (file.outcome != Cp1251Lines::Outcome::Read)
        return SettingsFile();
    return SettingsFile(std::move(file.lines));
}

bool SaveSettings(const QString& path, const SettingsLines& lines, const QStringList& addedLines) {
    return WriteCp1251Lines(path, QStringList(lines.begin(), lines.end()) + addedLines);
}
