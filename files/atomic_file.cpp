#include "files/atomic_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// Unlikely to meet another program's files, and hidden, since a file left behind by a crash
// is of no use to anyone looking at the directory.
constexpr char kTempPrefix[] = ".orbivist-";
constexpr char kTempSuffix[] = ".tmp";
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
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

AtomicFile::AtomicFile(QString path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Fail(const QString& what, int errorNumber) {
    failed_ = true;
    if (error_.isEmpty()) {
        error_ = QStringLiteral("%1: %2: %3")
                     .arg(path_, what,
                          QString::fromStdString(std::generic_category().message(errorNumber)));
    }
    return false;
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempName_.isEmpty() && !committed_)
        ::unlink(tempName_.constData());
    tempName_.clear();
}

bool AtomicFile::Open() {
    if (fd_ >= 0 || committed_ || failed_)
        return Fail(QStringLiteral("open"), EINVAL);
    const QByteArray target = QFile::encodeName(path_);
    if (target.isEmpty() || target.endsWith('/'))
        return Fail(QStringLiteral("open"), EISDIR);
    const QByteArray directory = DirectoryOf(target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = directory + '/' + kTempPrefix + RandomLetters() + kTempSuffix;
        // O_EXCL never opens an existing file or follows a link; 0666 is narrowed by the
        // umask, as for any new file.
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempName_ = name;
            return true;
        }
        if (errno != EEXIST)
            return Fail(QStringLiteral("create"), errno);
    }
    return Fail(QStringLiteral("create"), EEXIST);
}

bool AtomicFile::Write(const char* data, qint64 size) {
    if (failed_ || fd_ < 0)
        return Fail(QStringLiteral("write"), EBADF);
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return Fail(QStringLiteral("write"), errno);
        if (written == 0) // a regular file never does this; do not spin on it
            return Fail(QStringLiteral("write"), EIO);
        data += written;
        size -= written;
    }
    return true;
}

bool AtomicFile::Commit(Durability durability) {
    if (failed_ || fd_ < 0)
        return Fail(QStringLiteral("commit"), EBADF);
    if (durability == Durability::Synced && ::fsync(fd_) != 0)
        return Fail(QStringLiteral("sync"), errno);
    const int fd = std::exchange(fd_, -1);
    // Some file systems (NFS, for one) report a failed write only here.
    if (::close(fd) != 0)
        return Fail(QStringLiteral("close"), errno);
    const QByteArray target = QFile::encodeName(path_);
    if (::rename(tempName_.constData(), target.constData()) != 0)
        return Fail(QStringLiteral("rename"), errno);
    committed_ = true;
    if (durability == Durability::Synced)
        SyncDirectory(DirectoryOf(target));
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         AtomicFile::Durability durability) {
    AtomicFile file(path);
    return file.Open() && file.Write(bytes) && file.Commit(durability);
}
