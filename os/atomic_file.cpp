// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/atomic_file.h"

#include "os/temp_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kRandomLetters = 12;
constexpr int kNameAttempts = 100;

QByteArray DirectoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray RandomLetters() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray letters;
    for (int i = 0; i < kRandomLetters; ++i)
        letters += kLetters[QRandomGenerator::global()->bounded(int{sizeof kLetters} - 1)];
    return letters;
}

// The rename itself lives in the directory: only syncing it makes the new name last.
// Some file systems cannot sync a directory; the file's content is safe anyway.
void SyncDirectory(const QByteArray& directory) {
    const UniqueFd fd(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid())
        ::fsync(fd.Get());
}

} // namespace

AtomicFile::AtomicFile(QString path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

QString WriteFailureText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QCoreApplication::translate("AtomicFile", "нет места на диске");
    case EACCES:
    case EPERM:
    case EROFS:
        return QCoreApplication::translate("AtomicFile", "нет доступа");
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("AtomicFile", "папка не существует");
    default:
        return QCoreApplication::translate("AtomicFile", "ошибка записи");
    }
}

QString WriteFailureTextAt(const QString& path) {
    // Less than this is no room for anything a writer puts down in one go.
    constexpr qint64 kNoRoom = 1024 * 1024;
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    const bool full = disk.isValid() && disk.bytesAvailable() < kNoRoom;
    return WriteFailureText(full ? ENOSPC : EIO);
}

bool AtomicFile::Fail(int errorNumber) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = WriteFailureText(errorNumber);
    return false;
}

void AtomicFile::Discard() {
    fd_.Reset();
    if (!tempName_.isEmpty() && !committed_)
        ::unlink(tempName_.constData());
    hold_.Release();
    tempName_.clear();
}

bool AtomicFile::Open() {
    if (fd_.Valid() || committed_ || failed_)
        return Fail(EINVAL);
    const QByteArray target = QFile::encodeName(path_);
    if (target.isEmpty() || target.endsWith('/'))
        return Fail(EISDIR);
    // A device node, a pipe or a directory of that name is never replaced by a file.
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
        !S_ISLNK(existing.st_mode)) {
        failed_ = true;
        error_ = QCoreApplication::translate("AtomicFile", "не обычный файл");
        return false;
    }
    const QByteArray directory = DirectoryOf(target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = directory + '/' + kTempPrefix + RandomLetters() + kTempSuffix;
        // O_EXCL never opens an existing file or follows a link; 0666 is narrowed by the
        // umask, as for any new file.
        UniqueFd fd(
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.Valid()) {
            fd_ = std::move(fd);
            tempName_ = name;
            hold_ = TempFileHold::OfDescriptor(fd_.Get());
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool AtomicFile::Write(const char* data, qint64 size) {
    if (failed_ || !fd_.Valid())
        return Fail(EBADF);
    while (size > 0) {
        const ssize_t written = ::write(fd_.Get(), data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return Fail(errno);
        if (written == 0) // a regular file never does this; do not spin on it
            return Fail(EIO);
        data += written;
        size -= written;
    }
    return true;
}

void AtomicFile::StartFlush() {
    if (!failed_ && fd_.Valid())
        ::sync_file_range(fd_.Get(), 0, 0, SYNC_FILE_RANGE_WRITE);
}

bool AtomicFile::Complete(Durability durability) {
    if (failed_ || !fd_.Valid())
        return Fail(EBADF);
    // The file it replaces keeps its permissions.
    struct stat old {};
    if (::stat(QFile::encodeName(path_).constData(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd_.Get(), old.st_mode & 07777) != 0)
        return Fail(errno);
    if (durability == Durability::Synced && ::fsync(fd_.Get()) != 0)
        return Fail(errno);
    synced_ = durability == Durability::Synced;
    // Some file systems (NFS, for one) report a failed write only here.
    if (::close(fd_.Release()) != 0)
        return Fail(errno);
    completed_ = true;
    return true;
}

bool AtomicFile::Commit(Durability durability, DirectorySync directory) {
    if (!completed_ && !Complete(durability))
        return false;
    if (failed_ || committed_)
        return Fail(EBADF);
    const QByteArray target = QFile::encodeName(path_);
    if (::rename(tempName_.constData(), target.constData()) != 0)
        return Fail(errno);
    committed_ = true;
    hold_.Release();
    if (synced_ && directory == DirectorySync::Now)
        SyncDirectory(DirectoryOf(target));
    return true;
}

void SyncDirectoryOf(const QString& path) {
    SyncDirectory(DirectoryOf(QFile::encodeName(path)));
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         AtomicFile::Durability durability) {
    AtomicFile file(path);
    return file.Open() && file.Write(bytes) && file.Commit(durability);
}
