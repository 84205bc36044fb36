// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/cp1251_round_trip.h"

#include "fuzz/fuzz_check.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

const QTemporaryDir& ScratchDir() {
    static const QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir;
}

} // namespace

QString WriteScratchFile(const QString& name, const std::uint8_t* data, std::size_t size) {
    const QString path = ScratchDir().filePath(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
               static_cast<qint64>(size));
    return path;
}

QByteArray ReadScratchFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void CheckReadBack(const QStringList& written, const QStringList& readBack) {
    FUZZ_CHECK(readBack.size() == written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QString& before = written[i];
        const QString& after = readBack[i];
        FUZZ_CHECK(after.size() == before.size());
        for (qsizetype j = 0; j < before.size(); ++j)
            FUZZ_CHECK(after[j] == before[j] || after[j] == u'?');
    }
}
