// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/temp_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace {

// An exclusive lock on the file open on fd, or an invalid descriptor when it cannot be had.
UniqueFd Locked(int fd) {
    UniqueFd held(fd);
    if (held.Valid() && ::flock(held.Get(), LOCK_EX | LOCK_NB) != 0)
        held.Reset();
    return held;
}

} // namespace

QString TempFileTemplate(const QString& directory) {
    return QDir(directory).filePath(QLatin1StringView(kTempPrefix) + QStringLiteral("XXXXXX") +
                                    QLatin1StringView(kTempSuffix));
}

TempFileHold TempFileHold::OfDescriptor(int fd) {
    return TempFileHold(Locked(::fcntl(fd, F_DUPFD_CLOEXEC, 0)));
}

TempFileHold TempFileHold::OfPath(const QString& path) {
    return TempFileHold(
        Locked(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC)));
}

void RemoveStaleTempFiles(const QString& directory, std::chrono::seconds olderThan) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-olderThan.count());
    const QString prefix = QLatin1StringView(kTempPrefix) + u'*';
    const QFileInfoList found = QDir(directory).entryInfoList(
        {prefix + QLatin1StringView(kTempSuffix), prefix + QLatin1StringView(kScratchTiffSuffix)},
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& file : found) {
        if (file.lastModified() >= before)
            continue;
        const QByteArray name = QFile::encodeName(file.filePath());
        // Removed under our own lock, so that no writer can take the file meanwhile.
        const UniqueFd fd(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.Valid() && ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue; // its writer lives
        ::unlink(name.constData());
    }
}
