// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/favorite_line.h"
#include "store/favorites.h"

#include "tests/support/full_disk.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using State = FavoritesFile::State;

bool SaveSample(const QString& path, bool first) {
    return SaveFavorites(path, QStringList(first ? 1 : 10, kDesignTimeFavorite.toString()));
}

} // namespace

TEST(Favorites, LineHasFixedColumnsOnDisk) {
    const QString line = FavoriteLine("Дом", "12", "N", u"55°45,5'"_qs, "E", u"37°37'"_qs);
    const QStringList items = {line, "", kDesignTimeFavorite.toString()};
    TempDir dir;
    ASSERT_TRUE(SaveFavorites(dir.file("Favorites.dat"), items));
    EXPECT_EQ(dir.read("Favorites.dat"),
              QByteArray("\xC4\xEE\xEC                  12 N55\xB0"
                         "45,5'       E37\xB0"
                         "37'        \r\n\r\n____________________ N E\r\n"));
    const FavoritesFile loaded = LoadFavorites(dir.file("Favorites.dat"));
    EXPECT_EQ(loaded.state, State::Loaded);
    EXPECT_EQ(loaded.items, items);
    EXPECT_EQ(LoadFavorites(dir.file("absent")).state, State::Missing);
}

TEST(Favorites, SelectionReadsTheFieldsBack) {
    const auto fields = ParseFavoriteLine(FavoriteLine("x", "7", "S", " 91 ", "W", "\t1\x01"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->zoomIndex, 6);
    EXPECT_EQ(fields->latHemisphereIndex, 1);
    EXPECT_EQ(fields->lonHemisphereIndex, 0);
    EXPECT_EQ(fields->latitudeText, "91"); // out of range: the search's check, not this one
    EXPECT_EQ(fields->longitudeText, "1");
    EXPECT_EQ(ParseFavoriteLine(FavoriteLine("x", "zz", "N", "", "E", ""))->zoomIndex, 0);
    EXPECT_FALSE(ParseFavoriteLine(kDesignTimeFavorite.toString()));
    EXPECT_FALSE(ParseFavoriteLine(QString(54, ' ')));
}

TEST(Favorites, NoFieldCanPushAnotherOutOfItsColumns) {
    // No hemisphere selected, and texts longer than their fields.
    const QString line =
        FavoriteLine(QString(30, 'n'), "123", "", "12345678901234567", "", "abcdefghijklmnopq");
    ASSERT_EQ(line.size(), kFavoriteLineLength);
    EXPECT_EQ(line.left(21), QString(20, 'n') + ' ');
    const auto fields = ParseFavoriteLine(line);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->zoomIndex, 11);
    EXPECT_EQ(fields->latitudeText, "12345678901234");
    EXPECT_EQ(fields->longitudeText, "abcdefghijklmn");
}

TEST(Favorites, FullDiskFailsTheSaveAndKeepsTheOldFile) {
    ExpectFullDiskKeepsTheOldFile("Favorites.dat", SaveSample, 0);
}

TEST(Favorites, FileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    ExpectSizeLimitKeepsTheOldFile("Favorites.dat", SaveSample, 100);
}

TEST(Favorites, AFileBeyondTheBoundsIsRefusedNotTakenForMissing) {
    TempDir dir;
    const QString path = dir.file("Favorites.dat");
    dir.write("Favorites.dat", QByteArray(kMaxFavorites, '\n'));
    EXPECT_EQ(LoadFavorites(path).items.size(), kMaxFavorites);
    dir.write("Favorites.dat", QByteArray(kMaxFavorites + 1, '\n'));
    EXPECT_EQ(LoadFavorites(path).state, State::Refused);
    QFile file(path);
    ASSERT_TRUE(file.resize(kMaxFavoritesBytes + 1)); // all NULs: no lines, but too many bytes
    EXPECT_EQ(LoadFavorites(path).state, State::Refused);
    if (geteuid() != 0) { // permissions do not stop root
        QFile::setPermissions(path, QFile::WriteOwner);
        EXPECT_EQ(LoadFavorites(path).state, State::Refused);
    }
    // A directory of that name holds no list to lose.
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_EQ(LoadFavorites(dir.file("sub")).state, State::Missing);
}
