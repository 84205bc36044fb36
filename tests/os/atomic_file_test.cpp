// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/atomic_file.h"
#include "os/temp_files.h"
#include "tests/support/full_disk.h"
#include "tests/support/temp_dir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Durability = AtomicFile::Durability;

QStringList Names(const TempDir& dir) {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileOnlyOnCommit) {
    TempDir dir;
    dir.write("f", "old");
    {
        AtomicFile file(dir.file("f"));
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("new ", 4));
        ASSERT_TRUE(file.Write(QByteArray("content")));
        EXPECT_EQ(dir.read("f"), "old"); // nothing visible before the commit
        ASSERT_TRUE(file.Commit(Durability::Synced)) << file.ErrorText().toStdString();
        EXPECT_TRUE(file.ErrorText().isEmpty());
        EXPECT_FALSE(file.Commit(Durability::Synced)); // once only
    }
    EXPECT_EQ(dir.read("f"), "new content");
    {
        AtomicFile abandoned(dir.file("f"));
        ASSERT_TRUE(abandoned.Open());
        ASSERT_TRUE(abandoned.Write(QByteArray("half")));
    } // dropped without a commit
    EXPECT_EQ(dir.read("f"), "new content");
    EXPECT_EQ(Names(dir), QStringList{"f"});

    // A new file gets the permissions any new file gets.
    ASSERT_TRUE(WriteFileAtomically(dir.file("g"), "x", Durability::Unsynced));
    QFile plain(dir.file("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(QFileInfo(dir.file("g")).permissions(), plain.permissions());
}

TEST(AtomicFile, ReportsWhatCannotBeWrittenAndLeavesNoTrace) {
    TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("sub"), "x", Durability::Synced));
    EXPECT_FALSE(WriteFileAtomically(dir.file("none/f"), "x", Durability::Synced));
    EXPECT_FALSE(WriteFileAtomically(dir.path(), "x", Durability::Synced));
    AtomicFile file(dir.file("none/f"));
    EXPECT_FALSE(file.Open());
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Commit(Durability::Unsynced));
    EXPECT_EQ(file.ErrorText(), "папка не существует");
    EXPECT_EQ(Names(dir), QStringList{"sub"});
}

TEST(AtomicFile, ReplacesASymbolicLinkInsteadOfFollowingIt) {
    TempDir dir;
    TempDir elsewhere;
    elsewhere.write("victim", "keep");
    ASSERT_TRUE(QFile::link(elsewhere.file("victim"), dir.file("live")));
    ASSERT_TRUE(QFile::link(elsewhere.file("absent"), dir.file("dangling")));
    ASSERT_TRUE(WriteFileAtomically(dir.file("live"), "new", Durability::Unsynced));
    ASSERT_TRUE(WriteFileAtomically(dir.file("dangling"), "new", Durability::Unsynced));
    EXPECT_EQ(elsewhere.read("victim"), "keep");
    EXPECT_FALSE(elsewhere.exists("absent"));
    for (const char* name : {"live", "dangling"}) {
        EXPECT_FALSE(QFileInfo(dir.file(name)).isSymLink()) << name;
        EXPECT_EQ(dir.read(name), "new") << name;
    }
}

TEST(AtomicFile, FullFileSystemFailsTheWriteAndKeepsTheOldFile) {
    SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    ASSERT_TRUE(WriteFileAtomically(disk.file("f"), "old", Durability::Synced));
    ASSERT_TRUE(disk.FillLeaving(4096));
    {
        // One page fits, the rest does not: the failure comes part-way through.
        AtomicFile file(disk.file("f"));
        ASSERT_TRUE(file.Open());
        EXPECT_FALSE(file.Write(QByteArray(3 * 4096, 'n')));
        EXPECT_EQ(file.ErrorText(), "нет места на диске");
        EXPECT_FALSE(file.Commit(Durability::Unsynced));
        EXPECT_EQ(disk.Names().size(), 2); // the temporary file stays while the object lives
    }
    EXPECT_EQ(disk.Names(), QStringList{"f"});
    QFile old(disk.file("f"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST(AtomicFile, FileSizeLimitFailsTheWriteInsteadOfKillingTheProgram) {
    ExpectSizeLimitKeepsTheOldFile(
        "f",
        [](const QString& path, bool first) {
            return WriteFileAtomically(path, QByteArray(first ? 10 : 200, 'x'), Durability::Synced);
        },
        100);
}

TEST(AtomicFile, NeverReplacesWhatIsNotARegularFile) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe")).constData(), 0600), 0);
    AtomicFile file(dir.file("pipe"));
    EXPECT_FALSE(file.Open());
    EXPECT_TRUE(file.ErrorText().contains(QString::fromUtf8("не обычный файл")));
    EXPECT_FALSE(file.Commit(Durability::Unsynced));
    EXPECT_TRUE(QFileInfo(dir.file("pipe")).exists());
    EXPECT_FALSE(QFileInfo(dir.file("pipe")).isFile());
    EXPECT_EQ(Names(dir), QStringList({"pipe"}));
}

TEST(AtomicFile, StaleTemporaryFilesOfOursAloneAreRemoved) {
    TempDir dir;
    // Name, and whether it is an hour old; only the first two are leftovers of ours (a file
    // and a GeoTIFF scratch picture).
    const std::pair<const char*, bool> files[] = {{".orbivist-Ab12Cd.tmp", true},
                                                  {".orbivist-Xy56Zw.tif", true},
                                                  {".orbivist-Ef34Gh.tmp", false},
                                                  {"orbivist-Ab12Cd.tmp", true},
                                                  {".orbivist-Ab12Cd.tmp.jpg", true}};
    for (const auto& [name, old] : files) {
        dir.write(name, "x");
        QFile file(dir.file(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        if (old)
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime);
    }
    // Named as ours and as old, a directory and a link (to a file of the user's) are not ours.
    ASSERT_TRUE(QDir(dir.path()).mkdir(".orbivist-Dd00Ee.tmp"));
    dir.write("kept.jpg", "user's");
    ASSERT_TRUE(QFile::link(dir.file("kept.jpg"), dir.file(".orbivist-Ln00Kk.tmp")));
    const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const char* name : {".orbivist-Dd00Ee.tmp", ".orbivist-Ln00Kk.tmp"})
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(dir.file(name)).constData(), hourAgo,
                              AT_SYMLINK_NOFOLLOW),
                  0);
    RemoveStaleTempFiles(dir.path());
    EXPECT_EQ(Names(dir), QStringList({".orbivist-Ab12Cd.tmp.jpg", ".orbivist-Dd00Ee.tmp",
                                       ".orbivist-Ef34Gh.tmp", ".orbivist-Ln00Kk.tmp", "kept.jpg",
                                       "orbivist-Ab12Cd.tmp"}));
    EXPECT_EQ(dir.read("kept.jpg"), "user's");
}

TEST(AtomicFile, AFileStillBeingWrittenSurvivesTheCleanUpHoweverOld) {
    TempDir dir;
    AtomicFile file(dir.file("export.mbtiles"));
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("half"));
    // Unwritten for an hour, as a writer that keeps its data in memory through a long pause.
    QFile temporary(file.TemporaryPath());
    ASSERT_TRUE(temporary.open(QIODevice::ReadWrite));
    temporary.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                          QFileDevice::FileModificationTime);
    temporary.close();
    RemoveStaleTempFiles(dir.path());
    ASSERT_TRUE(QFileInfo::exists(file.TemporaryPath()));
    ASSERT_TRUE(file.Commit(Durability::Unsynced));
    EXPECT_EQ(Names(dir), QStringList({"export.mbtiles"}));
}
