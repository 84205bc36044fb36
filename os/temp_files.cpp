// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/temp_files.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <ctime>
#include <memory>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An exclusive lock on the file open on fd, or an invalid descriptor when it cannot be had.
UniqueFd Locked(int fd) {
    UniqueFd held(fd);
    if (held.Valid() && ::flock(held.Get(), LOCK_EX | LOCK_NB) != 0)
        held.Reset();
    return held;
}

// A name of our pattern: the prefix, anything, and one of our suffixes.
bool IsOurTempName(std::string_view name) {
    if (!name.starts_with(kTempPrefix))
        return false;
    const std::string_view rest = name.substr(std::string_view(kTempPrefix).size());
    for (const std::string_view suffix :
         {std::string_view(kTempSuffix), std::string_view(kScratchTiffSuffix)})
        if (rest.ends_with(suffix))
            return true;
    return false;
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
    // Read with the system's own calls: Qt's name filters and dates would bring its regular
    // expressions and time zones into every command that ends by writing a file.
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(
        ::opendir(QFile::encodeName(directory).constData()), ::closedir);
    if (!entries)
        return;
    const int dirFd = ::dirfd(entries.get());
    const std::time_t before = std::time(nullptr) - olderThan.count();
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::string_view name(entry->d_name);
        if (!IsOurTempName(name))
            continue;
        struct stat status {};
        if (::fstatat(dirFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode) || status.st_mtime >= before)
            continue;
        // Removed under our own lock, so that no writer can take the file meanwhile.
        const UniqueFd fd(
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.Valid() && ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue; // its writer lives
        ::unlinkat(dirFd, entry->d_name, 0);
    }
}
