// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/cp1251_lines.h"

#include "os/atomic_file.h"
#include "os/input_file.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr const char* kCodePage = "windows-1251";
constexpr char kUnwritable = '?';

// The characters of the bytes 0x80 to 0xFF in code page order, so that a character's byte is
// 0x80 plus its index here. Empty when the code page is not available.
QString UpperHalf() {
    QByteArray bytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        bytes.append(static_cast<char>(byte));
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return {};
    QString chars = decoder.decode(bytes);
    return chars.size() == bytes.size() ? chars : QString();
}

char EncodeChar(QChar c, const QString& upperHalf) {
    const char16_t unit = c.unicode();
    if (unit == u'\0' || unit == u'\r' || unit == u'\n')
        return kUnwritable;
    if (unit < 0x80)
        return static_cast<char>(unit);
    if (c == QChar::ReplacementCharacter)
        return kUnwritable;
    const qsizetype index = upperHalf.indexOf(c);
    return index >= 0 ? static_cast<char>(0x80 + index) : kUnwritable;
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
    const QString upperHalf = UpperHalf();
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
        return c == u'?' || EncodeChar(c, upperHalf) != kUnwritable;
    });
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
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return {Outcome::Unreadable, {}};
    const QString text = decoder.decode(bytes);
    std::optional<QStringList> lines = SplitLines(text, maxLines);
    if (!lines)
        return {Outcome::TooLarge, {}};
    return {Outcome::Read, std::move(*lines)};
}

QByteArray Cp1251LinesBytes(const QStringList& lines) {
    const QString upperHalf = UpperHalf();
    QByteArray bytes;
    for (const QString& line : lines) {
        for (const QChar c : line)
            bytes.append(EncodeChar(c, upperHalf));
        bytes.append("\r\n");
    }
    return bytes;
}

bool WriteCp1251Lines(const QString& path, const QStringList& lines) {
    // The user's own file: on the disk before it counts as saved.
    return WriteFileAtomically(path, Cp1251LinesBytes(lines), AtomicFile::Durability::Synced);
}
