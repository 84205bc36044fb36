#include "store/favorite_line.h"
#include "store/favorites.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

TEST(Favorites, LineHasFixedColumnsOnDisk) {
    const QString line = FavoriteLine("Дом", "12", "N", u"55°45,5'"_qs, "E", u"37°37'"_qs);
    const QStringList items = {line, "", kDesignTimeFavorite.toString()};
    TempDir dir;
    ASSERT_TRUE(SaveFavorites(dir.file("Favorites.dat"), items));
    EXPECT_EQ(dir.read("Favorites.dat"),
              QByteArray("\xC4\xEE\xEC                  12 N55\xB0"
                         "45,5'       E37\xB0"
                         "37'        \r\n\r\n____________________ N E\r\n"));
    EXPECT_EQ(LoadFavorites(dir.file("Favorites.dat")), items);
    EXPECT_EQ(LoadFavorites(dir.file("absent")), std::nullopt);
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
