// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/tile_pixels.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TilePixels, ACopySharesThePixelsUntilOneIsWrittenTo) {
    TilePixels original(3, 2, PixelFormat::Rgb888);
    original.Fill(0x102030);
    TilePixels copy = original;
    EXPECT_EQ(copy.constBits(), original.constBits());
    EXPECT_FALSE(original.isDetached());

    copy.scanLine(1)[0] = 0xff;
    EXPECT_NE(copy.constBits(), original.constBits());
    EXPECT_TRUE(original.isDetached());
    EXPECT_TRUE(copy.isDetached());
    EXPECT_EQ(original.Pixel(0, 1), 0x102030u);
    EXPECT_EQ(copy.Pixel(0, 1), 0xff2030u);
    EXPECT_EQ(copy.Pixel(1, 1), 0x102030u);
    EXPECT_FALSE(copy == original);
}

TEST(TilePixels, FillPixelAndConversionAgreeInBothFormats) {
    for (const PixelFormat format : {PixelFormat::Rgb888, PixelFormat::Xrgb32}) {
        TilePixels pixels(5, 3, format);
        pixels.Fill(0xc0c0c0);
        uchar* const bits = pixels.bits();
        const int at = BytesPerPixel(format) * 4; // the last pixel of the first row
        if (format == PixelFormat::Rgb888) {
            bits[at] = 1, bits[at + 1] = 2, bits[at + 2] = 250;
        } else {
            const std::uint32_t word = 0xff0102fa;
            std::memcpy(bits + at, &word, sizeof word);
        }
        EXPECT_EQ(pixels.Pixel(4, 0), 0x0102fau);
        EXPECT_EQ(pixels.Pixel(0, 2), 0xc0c0c0u);

        const PixelFormat other =
            format == PixelFormat::Rgb888 ? PixelFormat::Xrgb32 : PixelFormat::Rgb888;
        const TilePixels converted = pixels.ConvertedTo(other);
        ASSERT_EQ(converted.format(), other);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(converted.Pixel(x, y), pixels.Pixel(x, y)) << x << ',' << y;
        EXPECT_TRUE(converted.ConvertedTo(format) == pixels);
        // An Xrgb32 word is opaque, as a pixmap takes it.
        const TilePixels words = pixels.ConvertedTo(PixelFormat::Xrgb32);
        std::uint32_t first;
        std::memcpy(&first, words.constScanLine(2), sizeof first);
        EXPECT_EQ(first, 0xffc0c0c0u);
    }
}
