// SPDX-License-Identifier: GPL-3.0-or-later
// The settings reader on any file, and a save of what it read followed by a second load.
#include "fuzz/cp1251_round_trip.h"
#include "fuzz/fuzz_check.h"
#include "store/settings_file.h"
#include "store/settings_schema.h"
#include "store/settings_view.h"

#include <cstddef>
#include <cstdint>

namespace {

// What the program takes from a settings file, line by line, as the main window reads it.
struct LineValues {
    bool present = false;
    bool flag = false;
    int number = 0;
    bool operator==(const LineValues&) const = default;
};

LineValues ValuesOf(const SettingsFile& file, int line) {
    const auto& field = SettingsSchema()[line].field;
    LineValues v;
    v.present = file.has(line);
    if (std::holds_alternative<FlagField>(field))
        v.flag = file.flag(line);
    if (std::holds_alternative<NumberField>(field))
        v.number = file.number(line);
    return v;
}

SettingsLines LinesOf(const SettingsFile& file) {
    SettingsLines lines;
    for (int line = 0; line < kSettingsLineCount; ++line)
        lines[line] = file.text(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SettingsFile read =
        LoadSettings(WriteScratchFile(QStringLiteral("read.ini"), data, size));
    FUZZ_CHECK(read.complete() == read.has(kSettingsLineCount - 1));
    FUZZ_CHECK(!read.has(kSettingsLineCount));
    // Whatever the file holds, the program starts on a view it can work with.
    const SettingsView view = ViewFromSettings(read);
    FUZZ_CHECK(IsUsableView(view.urls, view.prefixLength));

    const QString savedPath = WriteScratchFile(QStringLiteral("saved.ini"), nullptr, 0);
    const SettingsLines lines = LinesOf(read);
    FUZZ_CHECK(SaveSettings(savedPath, lines));
    const SettingsFile loaded = LoadSettings(savedPath);
    FUZZ_CHECK(loaded.complete());
    QStringList present;
    QStringList readBack;
    for (int line = 0; line < kSettingsLineCount; ++line) {
        if (!read.has(line))
            continue;
        present.append(read.text(line));
        readBack.append(loaded.text(line));
        FUZZ_CHECK(ValuesOf(loaded, line) == ValuesOf(read, line));
    }
    CheckReadBack(present, readBack);

    // A file the program wrote reads back to exactly what it holds.
    const QByteArray savedBytes = ReadScratchFile(savedPath);
    FUZZ_CHECK(SaveSettings(savedPath, LinesOf(loaded)));
    FUZZ_CHECK(ReadScratchFile(savedPath) == savedBytes);
    return 0;
}
