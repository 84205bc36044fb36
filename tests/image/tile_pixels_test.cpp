// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/tile_pixels.h"

#include <gtest/gtest.h>

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
