// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/full_disk.h"

#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char kFillerName[] = ".filler";
constexpr qint64 kPage = 4096;

} // namespace

SmallTmpfs::SmallTmpfs(int kibibytes) {
    if (!dir_.isValid() || geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + 'k';
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                       options.constData()) == 0;
}

SmallTmpfs::~SmallTmpfs() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallTmpfs::FillLeaving(qint64 bytes) {
    const QByteArray name = QFile::encodeName(file(kFillerName));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray chunk(kPage, 'f');
    qint64 size = 0;
    for (;;) {
        const ssize_t written = ::write(fd, chunk.constData(), chunk.size());
        if (written <= 0)
            break;
        size += written;
    }
    const bool full = errno == ENOSPC;
    const qint64 freed = (bytes + kPage - 1) / kPage * kPage;
    const bool ok = full && freed <= size && ::ftruncate(fd, size / kPage * kPage - freed) == 0;
    ::close(fd);
    return ok;
}

QStringList SmallTmpfs::Names() const {
    QStringList names = QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    names.removeAll(kFillerName);
    return names;
}

std::optional<bool> RunWithFileSizeLimit(qint64 limitBytes, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        ::_exit(body() ? 0 : 1); // no exit handlers: they belong to the parent
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

void ExpectFullDiskKeepsTheOldFile(const QString& name, const FileWriter& write, qint64 freeBytes) {
    SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString path = disk.file(name);
    ASSERT_TRUE(write(path, true));
    const QByteArray old = ReadAll(path);
    ASSERT_TRUE(disk.FillLeaving(freeBytes));
    EXPECT_FALSE(write(path, false));
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(disk.Names(), QStringList{name});
}

void ExpectSizeLimitKeepsTheOldFile(const QString& name, const FileWriter& write,
                                    qint64 limitBytes) {
    TempDir dir;
    const QString path = dir.file(name);
    ASSERT_TRUE(write(path, true));
    const QByteArray old = ReadAll(path);
    const std::optional<bool> result =
        RunWithFileSizeLimit(limitBytes, [&] { return write(path, false); });
    ASSERT_TRUE(result.has_value()) << "the writer died on the limit";
    EXPECT_FALSE(*result);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{name});
}
