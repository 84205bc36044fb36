// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/cp1251_lines.h"

#include "os/atomic_file.h"
#include "os/input_file.h"

#include <QByteArray>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace {

constexpr char kUnwritable = '?';

// The characters of the bytes 0x80 to 0xFF in code page order, so that a character's byte is
// 0x80 plus its index here; 0x98, which the code page leaves unassigned, reads as U+0098. A
// table of our own: the toolkit's converter loads the ICU library's data, which reading the
// settings at start needs no more than this.
constexpr char16_t kUpperHalf[] = u"\u0402\u0403\u201A\u0453\u201E\u2026\u2020\u2021\u20AC\u2030"
                                  u"\u0409\u2039\u040A\u040C\u040B\u040F"
                                  u"\u0452\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u0098\u2122"
                                  u"\u0459\u203A\u045A\u045C\u045B\u045F"
                                  u"\u00A0\u040E\u045E\u0408\u00A4\u0490\u00A6\u00A7\u0401\u00A9"
                                  u"\u0404\u00AB\u00AC\u00AD\u00AE\u0407"
                                  u"\u00B0\u00B1\u0406\u0456\u0491\u00B5\u00B6\u00B7\u0451\u2116"
                                  u"\u0454\u00BB\u0458\u0405\u0455\u0457"
                                  u"\u0410\u0411\u0412\u0413\u0414\u0415\u0416\u0417\u0418\u0419"
                                  u"\u041A\u041B\u041C\u041D\u041E\u041F"
                                  u"\u0420\u0421\u0422\u0423\u0424\u0425\u0426\u0427\u0428\u0429"
                                  u"\u042A\u042B\u042C\u042D\u042E\u042F"
                                  u"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439"
                                  u"\u043A\u043B\u043C\u043D\u043E\u043F"
                                  u"\u0440\u0441\u0442\u0443\u0444\u0445\u0446\u0447\u0448\u0449"
                                  u"\u044A\u044B\u044C\u044D\u044E\u044F";
static_assert(std::size(kUpperHalf) == 0x80 + 1);

QString UpperHalf() {
    return QString::fromUtf16(kUpperHalf, 0x80);
}

QString Decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto unit = static_cast<unsigned char>(byte);
        *out++ = unit < 0x80 ? QChar(unit) : QChar(kUpperHalf[unit - 0x80]);
    }
    return text;
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
    const QString text = Decode(bytes);
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
