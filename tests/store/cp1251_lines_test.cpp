// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/cp1251_lines.h"

#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Outcome = Cp1251Lines::Outcome;

QStringList OutcomeLine(Outcome outcome) {
    return {QStringLiteral("outcome %1").arg(static_cast<int>(outcome))};
}

// The lines when the file was read, else the outcome's number as the only line.
QStringList Read(const QString& path, qint64 maxBytes = 1000, qsizetype maxLines = 100) {
    const Cp1251Lines file = ReadCp1251Lines(path, maxBytes, maxLines);
    return file.outcome == Outcome::Read ? file.lines : OutcomeLine(file.outcome);
}

} // namespace

TEST(Cp1251Lines, ReadsEveryKindOfLineBreakAndStopsAtNul) {
    TempDir dir;
    dir.write("mixed", "a\r\nb\nc\rd\n\re\r\n");
    EXPECT_EQ(Read(dir.file("mixed")), QStringList({"a", "b", "c", "d", "", "e"}));
    dir.write("nul", QByteArray("one\r\ntw\0o\r\nthree", 16));
    EXPECT_EQ(Read(dir.file("nul")), QStringList({"one", "tw"}));
    EXPECT_EQ(Read(dir.file("absent")), OutcomeLine(Outcome::Missing));
    EXPECT_EQ(Read(dir.path()), OutcomeLine(Outcome::Missing));
}

TEST(Cp1251Lines, ReadsNothingBeyondItsBounds) {
    TempDir dir;
    dir.write("f", "ab\r\ncd\r\n"); // 8 bytes, 2 lines
    EXPECT_EQ(Read(dir.file("f"), 8, 2), QStringList({"ab", "cd"}));
    EXPECT_EQ(Read(dir.file("f"), 7, 2), OutcomeLine(Outcome::TooLarge));
    EXPECT_EQ(Read(dir.file("f"), 8, 1), OutcomeLine(Outcome::TooLarge));
    dir.write("last", "ab\ncd"); // a last line without a break counts too
    EXPECT_EQ(Read(dir.file("last"), 8, 1), OutcomeLine(Outcome::TooLarge));
    dir.write("nul", QByteArray("ab\n\0\n\n\n", 7)); // the lines after the NUL mean nothing
    EXPECT_EQ(Read(dir.file("nul"), 8, 1), QStringList({"ab"}));
    // A file that reports no size is read no further than the bound either.
    EXPECT_EQ(Read(QStringLiteral("/proc/self/maps"), 50), OutcomeLine(Outcome::TooLarge));
    if (geteuid() != 0) { // permissions do not stop root
        QFile::setPermissions(dir.file("f"), QFile::WriteOwner);
        EXPECT_EQ(Read(dir.file("f")), OutcomeLine(Outcome::Unreadable));
    }
}

TEST(Cp1251Lines, WritesOneBytePerUnitWithCrLf) {
    TempDir dir;
    // Besides Cyrillic: a Chinese character, an emoji (two UTF-16 units) and the
    // characters that would cut the text or split the line.
    const QString odd = u"a中b😀c"_qs + QChar(u'\0') + u"\r\nd"_qs;
    ASSERT_TRUE(WriteCp1251Lines(dir.file("f"), {u"Ёж 55°"_qs, "", odd}));
    EXPECT_EQ(dir.read("f"), QByteArray("\xA8\xE6 55\xB0\r\n\r\na?b??c???d\r\n"));
    EXPECT_EQ(Read(dir.file("f")), QStringList({u"Ёж 55°"_qs, "", "a?b??c???d"}));
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

TEST(Cp1251Lines, EveryByteReadsAsTheToolkitsCodePageAndWritesBack) {
    TempDir dir;
    QByteArray bytes;
    for (int byte = 1; byte <= 0xFF; ++byte)
        if (byte != '\r' && byte != '\n')
            bytes.append(static_cast<char>(byte));
    dir.write("all", bytes);
    const QString expected = QStringDecoder("windows-1251").decode(bytes);
    EXPECT_EQ(Read(dir.file("all")), QStringList({expected}));
    EXPECT_EQ(Cp1251LinesBytes({expected}), bytes + "\r\n");
}
