// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/zip_entry_dates.h"

#include <QDate>
#include <QFile>
#include <QTime>

#include <algorithm>

namespace {

quint32 Little(const QByteArray& bytes, qsizetype at, int width) {
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(bytes[at + i]);
    return value;
}

// An entry's modification time and date as ZIP keeps them (MS-DOS form, local time).
QByteArray DosTimeAndDate(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    const quint16 time = static_cast<quint16>(t.hour() << 11 | t.minute() << 5 | t.second() / 2);
    const quint16 date =
        static_cast<quint16>(std::max(d.year() - 1980, 0) << 9 | d.month() << 5 | d.day());
    const char bytes[] = {static_cast<char>(time & 0xff), static_cast<char>(time >> 8),
                          static_cast<char>(date & 0xff), static_cast<char>(date >> 8)};
    return QByteArray(bytes, sizeof bytes);
}

// GDAL's writer leaves every entry's date at zero, 1980-00-00, which readers reject or show
// as garbage: each entry, in the central directory and in its local header, gets when.
} // namespace

bool StampZipEntryDates(const QString& path, const QDateTime& when) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    constexpr qint64 kEndRecord = 22;
    const qint64 tailSize = std::min<qint64>(file.size(), kEndRecord + 0xffff);
    if (!file.seek(file.size() - tailSize))
        return false;
    const QByteArray tail = file.read(tailSize);
    const qsizetype end = tail.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (end < 0 || end + kEndRecord > tail.size())
        return false;
    const quint32 entries = Little(tail, end + 10, 2);
    const quint32 directorySize = Little(tail, end + 12, 4);
    const quint32 directoryOffset = Little(tail, end + 16, 4);
    if (!file.seek(directoryOffset))
        return false;
    QByteArray directory = file.read(directorySize);
    const QByteArray stamp = DosTimeAndDate(when);
    qsizetype at = 0;
    for (quint32 i = 0; i < entries; ++i) {
        constexpr qsizetype kHeader = 46;
        if (at + kHeader > directory.size() ||
            !directory.mid(at, 4).startsWith(QByteArrayView("PK\x01\x02", 4)))
            return false;
        directory.replace(at + 12, 4, stamp);
        const quint32 local = Little(directory, at + 42, 4);
        if (!file.seek(local + 10) || file.write(stamp) != stamp.size())
            return false;
        at += kHeader + Little(directory, at + 28, 2) + Little(directory, at + 30, 2) +
              Little(directory, at + 32, 2);
    }
    return file.seek(directoryOffset) && file.write(directory) == directory.size() && file.flush();
}
