#include "batch/outputs/output_check.h"

#include "batch/outputs/calibration_file.h"
#include "batch/outputs/export_format.h"
#include "batch/outputs/orux_writer.h"
#include "batch/outputs/stitch_output.h"
#include "batch/outputs/world_file.h"

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace {

// A device node, a pipe or a folder of that name: replacing it would be far worse than
// failing, so it is refused (a symbolic link counts by what it points to).
std::optional<QString> NotARegularFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("%1 exists and is not a regular file").arg(path);
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
    const QString cannot = QStringLiteral("cannot write %1: ").arg(file.absoluteFilePath());
    if (!folderInfo.exists())
        return cannot + QStringLiteral("the folder %1 does not exist").arg(folder);
    if (!folderInfo.isDir())
        return cannot + QStringLiteral("%1 is not a folder").arg(folder);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return cannot + QStringLiteral("no permission to write into %1").arg(folder);
    // The folder's own limit, in the bytes the file system stores.
    const QByteArray name = QFile::encodeName(file.fileName());
    const long longest = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    if (longest > 0 && name.size() > longest)
        return cannot + QStringLiteral("the name is longer than the %1 bytes %2 takes")
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
