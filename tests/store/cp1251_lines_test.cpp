#include "store/cp1251_lines.h"

#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Cp1251Lines, ReadsEveryKindOfLineBreakAndStopsAtNul) {
    TempDir dir;
    dir.write("mixed", "a\r\nb\nc\rd\n\re\r\n");
    EXPECT_EQ(ReadCp1251Lines(dir.file("mixed")), QStringList({"a", "b", "c", "d", "", "e"}));
    dir.write("nul", QByteArray("one\r\ntw\0o\r\nthree", 16));
    EXPECT_EQ(ReadCp1251Lines(dir.file("nul")), QStringList({"one", "tw"}));
    EXPECT_EQ(ReadCp1251Lines(dir.file("absent")), std::nullopt);
    EXPECT_EQ(ReadCp1251Lines(dir.path()), std::nullopt);
}

TEST(Cp1251Lines, WritesOneBytePerUnitWithCrLf) {
    TempDir dir;
    // Besides Cyrillic: a Chinese character, an emoji (two UTF-16 units) and the
    // characters that would cut the text or split the line.
    const QString odd = u"a中b😀c"_qs + QChar(u'\0') + u"\r\nd"_qs;
    ASSERT_TRUE(WriteCp1251Lines(dir.file("f"), {u"Ёж 55°"_qs, "", odd}));
    EXPECT_EQ(dir.read("f"), QByteArray("\xA8\xE6 55\xB0\r\n\r\na?b??c???d\r\n"));
    EXPECT_EQ(ReadCp1251Lines(dir.file("f")), QStringList({u"Ёж 55°"_qs, "", "a?b??c???d"}));
}

TEST(Cp1251Lines, FailedWriteLeavesTheOldFile) {
    TempDir dir;
    dir.write("f", "old\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_FALSE(WriteCp1251Lines(dir.file("sub"), {"new"}));
    EXPECT_FALSE(WriteCp1251Lines(dir.file("no/such/dir/f"), {"new"}));
    if (geteuid() != 0) { // permissions do not stop root
        const auto all = QFile::permissions(dir.path());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(WriteCp1251Lines(dir.file("f"), {"new"}));
        QFile::setPermissions(dir.path(), all);
    }
    EXPECT_EQ(dir.read("f"), "old\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"f"}));
}
