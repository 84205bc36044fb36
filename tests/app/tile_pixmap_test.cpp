// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tile_pixmap.h"

#include <gtest/gtest.h>

// The window shows the loader's bytes as they are: the image wraps them, in the format that
// matches, and keeps them alive after the tile itself is gone.
TEST(TilePixmap, TheImageWrapsTheTilesOwnBytes) {
    const struct {
        PixelFormat format;
        QImage::Format wrapped;
    } cases[] = {{PixelFormat::Rgb888, QImage::Format_RGB888},
                 {PixelFormat::Xrgb32, QImage::Format_RGB32}};
    for (const auto& c : cases) {
        QImage image;
        const uchar* bytes = nullptr;
        {
            TilePixels tile(256, 256, c.format);
            tile.Fill(0x204060);
            bytes = tile.constBits();
            image = WrappedTileImage(tile);
        }
        EXPECT_EQ(image.format(), c.wrapped);
        EXPECT_EQ(image.constBits(), bytes);
        EXPECT_EQ(image.size(), QSize(256, 256));
        EXPECT_EQ(image.pixel(255, 255), qRgb(0x20, 0x40, 0x60));
        EXPECT_EQ(TilePixmap(TilePixels(2, 2, c.format)).size(), QSize(2, 2));
    }
    EXPECT_TRUE(WrappedTileImage(TilePixels()).isNull());
    const TilePixels shown(256, 256, PixelFormat::Xrgb32);
    const QPixmap pixmap = TilePixmap(shown);
    EXPECT_FALSE(shown.isDetached()); // the pixmap holds the tile's own bytes, not a copy
}
