// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tile_pixmap.h"

#include <gtest/gtest.h>
#include <utility>

// The window shows the loader's bytes as they are: the image wraps them in the format that
// matches and keeps them alive after the tile is gone; the pixmap holds them, not a copy.
TEST(TilePixmap, TheImageAndThePixmapHoldTheTilesOwnBytes) {
    for (const auto& [format, wrapped] : {std::pair{PixelFormat::Rgb888, QImage::Format_RGB888},
                                          std::pair{PixelFormat::Xrgb32, QImage::Format_RGB32}}) {
        TilePixels tile(256, 256, format);
        tile.Fill(0x204060);
        const QImage image = WrappedTileImage(tile);
        const QPixmap pixmap = TilePixmap(tile);
        EXPECT_EQ(image.constBits(), tile.constBits());
        EXPECT_FALSE(tile.isDetached());
        tile = TilePixels();
        EXPECT_EQ(image.format(), wrapped);
        EXPECT_EQ(image.pixel(255, 255), qRgb(0x20, 0x40, 0x60));
        EXPECT_EQ(pixmap.size(), QSize(256, 256));
    }
    EXPECT_TRUE(WrappedTileImage(TilePixels()).isNull());
}
