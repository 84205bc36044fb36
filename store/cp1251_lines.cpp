#include "store/cp1251_lines.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

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

QStringList SplitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}

} // namespace

std::optional<QStringList> ReadCp1251Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder.decode(bytes);
    return SplitLines(text);
}

bool WriteCp1251Lines(const QString& path, const QStringList& lines) {
    const QString upperHalf = UpperHalf();
    QByteArray bytes;
    for (const QString& line : lines) {
        for (const QChar c : line)
            bytes.append(EncodeChar(c, upperHalf));
        bytes.append("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
