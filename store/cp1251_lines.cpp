// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/cp1251_lines.h"

#include "os/atomic_file.h"
#include "os/cp1251.h"
#include "os/input_file.h"

#include <QByteArray>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace {

constexpr char kUnwritable = '?';

// A line's byte for the character: '?' where the code page has none, and for a NUL, CR or LF,
// which would cut the text or shift every following line.
char EncodeChar(QChar c) {
    if (c == u'\0' || c == u'\r' || c == u'\n')
        return kUnwritable;
    return Cp1251Byte(c).value_or(kUnwritable);
}

// Nothing when the text has more than maxLines lines.
std::optional<QStringList> SplitLines(QStringView text, qsizetype maxLines) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        if (lines.size() == maxLines)
            return std::nullopt;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size()) {
        if (lines.size() == maxLines)
            return std::nullopt;
        lines.append(text.sliced(start).toString());
    }
    return lines;
}

} // namespace

bool FitsCp1251(QStringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c == u'?' || EncodeChar(c) != kUnwritable; });
}

Cp1251Lines ReadCp1251Lines(const QString& path, qint64 maxBytes, qsizetype maxLines) {
    using Outcome = Cp1251Lines::Outcome;
    InputFile file = ReadInputFile(path, maxBytes);
    switch (file.outcome) {
    case InputFile::Outcome::Read:
        break;
    case InputFile::Outcome::Missing:
    case InputFile::Outcome::Dangling:
    case InputFile::Outcome::NotRegular:
        return {Outcome::Missing, {}};
    case InputFile::Outcome::TooLarge:
        return {Outcome::TooLarge, {}};
    case InputFile::Outcome::Unreadable:
        return {Outcome::Unreadable, {}};
    }
    QByteArray& bytes = file.bytes;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    const QString text = Cp1251Decode(bytes);
    std::optional<QStringList> lines = SplitLines(text, maxLines);
    if (!lines)
        return {Outcome::TooLarge, {}};
    return {Outcome::Read, std::move(*lines)};
}

QByteArray Cp1251LinesBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        for (const QChar c : line)
            bytes.append(EncodeChar(c));
        bytes.append("\r\n");
    }
    return bytes;
}

bool WriteCp1251Lines(const QString& path, const QStringList& lines) {
    // The user's own file: on the disk before it counts as saved.
    return WriteFileAtomically(path, Cp1251LinesBytes(lines), AtomicFile::Durability::Synced);
}
