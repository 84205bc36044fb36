// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/output_check.h"

#include "batch/outputs/calibration_file.h"
#include "batch/outputs/export_format.h"
#include "batch/outputs/orux_writer.h"
#include "batch/outputs/stitch_output.h"
#include "batch/outputs/world_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace {

// A device node, a pipe or a folder of that name: replacing it would be far worse than
// failing, so it is refused (a symbolic link counts by what it points to).
std::optional<QString> NotARegularFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QCoreApplication::translate("OutputCheck", "%1 уже есть и это не обычный файл")
            .arg(path);
    return std::nullopt;
}

} // namespace

QString PictureFileName(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink() && info.suffix().isEmpty())
        return path + QStringLiteral(".jpg");
    return path;
}

std::optional<QString> FileRefusal(const QString& path) {
    if (std::optional<QString> refusal = FolderRefusal(path))
        return refusal;
    return NotARegularFile(QFileInfo(path).absoluteFilePath());
}

std::optional<QString> FolderRefusal(const QString& path) {
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    const QFileInfo folderInfo(folder);
    const QString cannot = QCoreApplication::translate("OutputCheck", "нельзя записать %1: ")
                               .arg(file.absoluteFilePath());
    if (!folderInfo.exists())
        return cannot + QCoreApplication::translate("OutputCheck", "папки %1 нет").arg(folder);
    if (!folderInfo.isDir())
        return cannot + QCoreApplication::translate("OutputCheck", "%1 не папка").arg(folder);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return cannot +
               QCoreApplication::translate("OutputCheck", "нет права записи в %1").arg(folder);
    // The folder's own limit, in the bytes the file system stores.
    const QByteArray name = QFile::encodeName(file.fileName());
    const long longest = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    if (longest > 0 && name.size() > longest)
        return cannot +
               QCoreApplication::translate("OutputCheck", "имя длиннее %1 байт, допустимых в %2")
                   .arg(longest)
                   .arg(folder);
    return std::nullopt;
}

std::optional<QString> ExportOutputRefusal(const QString& path) {
    if (ExportFormatOf(path) != ExportFormat::Orux)
        return FileRefusal(path);
    const QString folder = WithoutTrailingSlashes(path);
    if (std::optional<QString> refusal = FolderRefusal(folder))
        return refusal;
    return OruxFolderRefusal(folder);
}

std::optional<QString> OutputRefusal(const QString& path) {
    if (std::optional<QString> refusal = FileRefusal(path))
        return refusal;
    const QString picturePath = QFileInfo(path).absoluteFilePath();
    if (StitchFormatOf(picturePath) != StitchFormat::Jpeg)
        return std::nullopt;
    QStringList beside{CalibrationFilePath(picturePath)};
    for (const QString& world : WorldFilePaths(picturePath))
        beside.append(world);
    for (const QString& file : beside)
        if (std::optional<QString> refusal = FileRefusal(file))
            return refusal;
    return std::nullopt;
}
