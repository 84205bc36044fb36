// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/input_file.h"

#include "os/unique_fd.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Outcome = InputFile::Outcome;

InputFile Failed(Outcome outcome, int errorNumber = 0) {
    InputFile file;
    file.outcome = outcome;
    if (errorNumber != 0)
        file.error = QString::fromLocal8Bit(std::strerror(errorNumber));
    return file;
}

// Why the file open on fd cannot be taken, or Read when it can.
InputFile Examine(int fd, qint64 maxBytes) {
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return Failed(Outcome::Unreadable, errno);
    if (!S_ISREG(status.st_mode))
        return Failed(Outcome::NotRegular);
    if (status.st_size > maxBytes)
        return Failed(Outcome::TooLarge);
    return Failed(Outcome::Read);
}

// The file opened without blocking (a pipe with no writer would hold the program forever), or
// the outcome that says why not.
InputFile Open(const QString& path, UniqueFd& fd) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return Failed(Outcome::Missing);
    fd = UniqueFd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Valid())
        return Failed(Outcome::Read);
    const int openError = errno;
    struct stat link {};
    if (openError == ENOENT)
        return Failed(::lstat(name.constData(), &link) == 0 ? Outcome::Dangling : Outcome::Missing);
    return Failed(Outcome::Unreadable, openError);
}

} // namespace

QString InputFile::Problem(qint64 maxBytes) const {
    switch (outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return QStringLiteral("no such file");
    case Outcome::Dangling:
        return QStringLiteral("a symbolic link to a missing file");
    case Outcome::NotRegular:
        return QStringLiteral("not a regular file");
    case Outcome::TooLarge:
        return QStringLiteral("larger than %1 bytes").arg(maxBytes);
    case Outcome::Unreadable:
        break;
    }
    return error.isEmpty() ? QStringLiteral("cannot be read") : error;
}

InputFile CheckInputFile(const QString& path, qint64 maxBytes) {
    UniqueFd fd;
    InputFile opened = Open(path, fd);
    return opened.Read() ? Examine(fd.Get(), maxBytes) : opened;
}

InputFile ReadInputFile(const QString& path, qint64 maxBytes) {
    UniqueFd fd;
    InputFile file = Open(path, fd);
    if (file.Read())
        file = Examine(fd.Get(), maxBytes);
    if (!file.Read())
        return file;
    // The size can change meanwhile, and some files report none: never trust it.
    constexpr qint64 kPiece = 64 * 1024;
    while (file.bytes.size() <= maxBytes) {
        const qint64 want = std::min(kPiece, maxBytes + 1 - file.bytes.size());
        const qsizetype had = file.bytes.size();
        file.bytes.resize(had + want);
        const ssize_t got = ::read(fd.Get(), file.bytes.data() + had, static_cast<size_t>(want));
        if (got < 0 && errno == EINTR) {
            file.bytes.resize(had);
            continue;
        }
        if (got < 0)
            return Failed(Outcome::Unreadable, errno);
        file.bytes.resize(had + got);
        if (got == 0)
            break;
    }
    if (file.bytes.size() > maxBytes)
        return Failed(Outcome::TooLarge);
    return file;
}
