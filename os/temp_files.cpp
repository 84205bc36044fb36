#include "os/temp_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TempFileTemplate(const QString& directory) {
    return QDir(directory).filePath(QLatin1StringView(kTempPrefix) + QStringLiteral("XXXXXX") +
                                    QLatin1StringView(kTempSuffix));
}

void RemoveStaleTempFiles(const QString& directory, std::chrono::seconds olderThan) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-olderThan.count());
    const QString pattern = QLatin1StringView(kTempPrefix) + u'*' + QLatin1StringView(kTempSuffix);
    const QFileInfoList found = QDir(directory).entryInfoList(
        {pattern}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& file : found) {
        if (file.lastModified() < before)
            QFile::remove(file.filePath());
    }
}
