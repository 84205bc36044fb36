// SPDX-License-Identifier: GPL-3.0-or-later
// PNG tiles whose data inflates to more than any tile needs are refused without inflating it.
#include "image/png_bounds.h"
#include "image/png_tile.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

TEST(PngBounds, OnlyDataATileCanNeedIsInflated) {
    const struct {
        const char* file; // 256 by 256 pictures, in the png_tile fuzz target's seeds
        bool tile;
    } cases[] = {
        {"rgb.png", true},         {"rgba16.png", true}, // the most bytes a pixel can take
        {"palette.png", true},                           // with its transparency
        {"gray_text.png", true},   // a compressed text chunk of 100 kB, dropped unread
        {"extra_data.png", false}, // 2 MB of data after the rows, in 2.6 kB
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QFile file(QStringLiteral(ORBIVIST_SOURCE_DIR "/fuzz/corpus/png_tile/") + c.file);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray png = file.readAll();
        const std::optional<QByteArray> bounded = BoundedTilePng(png);
        EXPECT_EQ(bounded.has_value(), c.tile);
        EXPECT_EQ(PngTileAsJpeg(png, 90).has_value(), c.tile);
        if (bounded) {
            EXPECT_FALSE(bounded->contains("zTXt"));
            EXPECT_EQ(QImage::fromData(*bounded, "PNG").size(), QSize(256, 256));
        }
    }
}
