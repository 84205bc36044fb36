// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/rgb_picture.h"

#include <QColor>
#include <gtest/gtest.h>
#include <limits>

namespace {

QColor PixelAt(const RgbPicture& picture, qint64 x, qint64 y) {
    const unsigned char* p = picture.row(y) + x * 3;
    return QColor(p[0], p[1], p[2]);
}

} // namespace

TEST(RgbPicture, RefusesImpossibleSizes) {
    EXPECT_FALSE(RgbPicture::Create(0, 5));
    EXPECT_FALSE(RgbPicture::Create(5, -1));
    constexpr qint64 kHuge = std::numeric_limits<qint64>::max() / 2;
    EXPECT_FALSE(RgbPicture::Create(kHuge, 4)); // the byte count overflows
#if !defined(__SANITIZE_ADDRESS__) // ASan aborts on such a request instead of failing it
    // 48 TB: addressable, but no machine gives it.
    EXPECT_FALSE(RgbPicture::Create(qint64{1} << 22, qint64{1} << 22));
#endif
}

TEST(RgbPicture, DrawsTilesClippedAndConverted) {
    auto picture = RgbPicture::Create(300, 200);
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelAt(*picture, 150, 100), QColor(0, 0, 0));

    TilePixels red(256, 256, PixelFormat::Rgb888);
    red.Fill(0xc80a14);                // 200, 10, 20
    picture->DrawTile(red, 256, -100); // only a 44 by 156 corner lands
    EXPECT_EQ(PixelAt(*picture, 255, 0), QColor(0, 0, 0));
    EXPECT_EQ(PixelAt(*picture, 256, 0), QColor(200, 10, 20));
    EXPECT_EQ(PixelAt(*picture, 299, 155), QColor(200, 10, 20));
    EXPECT_EQ(PixelAt(*picture, 299, 156), QColor(0, 0, 0));

    TilePixels blue(256, 256, PixelFormat::Xrgb32);
    blue.Fill(0x0102fa); // 1, 2, 250
    picture->DrawTile(blue, -250, 150);
    EXPECT_EQ(PixelAt(*picture, 5, 199), QColor(1, 2, 250));
    EXPECT_EQ(PixelAt(*picture, 6, 199), QColor(0, 0, 0));

    // Wholly outside, or null: nothing drawn, nothing touched out of bounds.
    picture->DrawTile(red, 300, 0);
    picture->DrawTile(red, 0, -256);
    picture->DrawTile(red, std::numeric_limits<qint64>::max(), 0);
    picture->DrawTile(TilePixels(), 0, 0);
    EXPECT_EQ(PixelAt(*picture, 0, 0), QColor(0, 0, 0));
}
