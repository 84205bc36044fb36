#include "store/cp1251_lines.h"

#include "os/atomic_file.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
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

// Up to limit bytes of the file, in pieces, so that memory follows what the file really
// holds rather than the limit. Nothing when reading failed.
std::optional<QByteArray> ReadAtMost(QFile& file, qint64 limit) {
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() < limit) {
        const QByteArray piece = file.read(std::min(kPiece, limit - bytes.size()));
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
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
    if (!QFileInfo(path).isFile())
        return {Outcome::Missing, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Outcome::Unreadable, {}};
    if (file.size() > maxBytes)
        return {Outcome::TooLarge, {}};
    // The size can change meanwhile, and some files report none: never trust it.
    std::optional<QByteArray> read = ReadAtMost(file, maxBytes + 1);
    if (!read)
        return {Outcome::Unreadable, {}};
    QByteArray& bytes = *read;
    if (bytes.size() > maxBytes)
        return {Outcome::TooLarge, {}};
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
