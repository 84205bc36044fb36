// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_tile.h"
#include "tests/support/tile_pixels_image.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

// A picture with every channel and alpha level somewhere, in format.
QImage Pattern(QImage::Format format) {
    QImage argb(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            argb.setPixel(x, y, qRgba(x, y, (x * 7 + y * 3) & 255, (x + 2 * y) & 255));
    return argb.convertToFormat(format);
}

// What Qt's own reader and painter make of the file: transparency laid over white.
QImage QtReading(const QByteArray& png) {
    QImage image = QImage::fromData(png, "PNG");
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

// The tile reads as Qt's reader and painter read it, pixel for pixel, whatever the PNG's
// colour type and depth, in either format the loader asks for.
TEST(PngTile, DecodesEveryColourTypeAsQtsReaderDoes) {
    const struct {
        const char* what;
        QImage::Format format;
    } cases[] = {
        {"rgb", QImage::Format_RGB888},
        {"rgb with alpha", QImage::Format_ARGB32},
        {"premultiplied", QImage::Format_ARGB32_Premultiplied},
        {"palette", QImage::Format_Indexed8},
        {"grey", QImage::Format_Grayscale8},
        {"16-bit grey", QImage::Format_Grayscale16},
        {"16-bit rgb", QImage::Format_RGBX64},
        {"16-bit rgba", QImage::Format_RGBA64},
        {"one bit", QImage::Format_Mono},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray png = Png(Pattern(c.format));
        const QImage reference = QtReading(png);
        for (const PixelFormat format : {PixelFormat::Rgb888, PixelFormat::Xrgb32}) {
            const std::optional<TilePixels> tile = DecodePngTile(png, format);
            ASSERT_TRUE(tile);
            EXPECT_EQ(tile->format(), format);
            const QImage decoded = AsImage(tile->ConvertedTo(PixelFormat::Rgb888));
            ASSERT_EQ(decoded.size(), reference.size());
            EXPECT_TRUE(decoded == reference);
        }
    }
}

TEST(PngTile, AnythingButAWhole256SquarePngIsRefused) {
    const QByteArray whole = Png(Pattern(QImage::Format_RGB888));
    QByteArray badCrc = whole;
    badCrc[badCrc.indexOf("IDAT") + 10] ^= 0x55;
    const QByteArray cases[] = {
        Png(QImage(255, 256, QImage::Format_RGB888)),
        Png(QImage(512, 512, QImage::Format_RGB888)),
        whole.left(whole.size() / 2),
        badCrc,
        QByteArray("\x89PNG\r\n\x1a\n"),
        QByteArray(),
    };
    for (const QByteArray& bad : cases)
        EXPECT_FALSE(DecodePngTile(bad)) << bad.size();
}
