// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two ways to make writes fail part-way, as on a full disk.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// A small file system of its own that a test can fill up. Mounting needs root (as the tests
// have in CI); otherwise mounted() is false and the test should skip.
class SmallTmpfs {
public:
    explicit SmallTmpfs(int kibibytes = 64);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    // The mount point with a trailing '/'.
    QString path() const { return dir_.path() + '/'; }
    QString file(const QString& name) const { return path() + name; }
    // Fills the file system with a filler file so that only `bytes` (whole pages) stay free.
    // False when that did not work out.
    bool FillLeaving(qint64 bytes);
    // The names in the mount point, filler excluded.
    QStringList Names() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Runs body in a forked child whose files cannot grow beyond limitBytes. SIGXFSZ is ignored
// there, so a write past the limit fails with EFBIG instead of killing the child. Gives
// body's result, or nothing when the child did not end normally.
std::optional<bool> RunWithFileSizeLimit(qint64 limitBytes, const std::function<bool()>& body);

// A program's writer of one file: first=true writes the old content, false the new, larger one.
using FileWriter = std::function<bool(const QString& path, bool first)>;

// Writes the old content, fills the disk so that only freeBytes stay free and expects the new
// write to report failure while the old file stays byte for byte and nothing else is left.
// Skips the test when no tmpfs can be mounted.
void ExpectFullDiskKeepsTheOldFile(const QString& name, const FileWriter& write, qint64 freeBytes);
// The same with a file-size limit instead of a full disk (needs no root).
void ExpectSizeLimitKeepsTheOldFile(const QString& name, const FileWriter& write,
                                    qint64 limitBytes);
