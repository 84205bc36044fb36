// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/tile_pixels_image.h"

#include <cstring>

QImage AsImage(const TilePixels& tile) {
    if (tile.isNull())
        return {};
    const QImage::Format format =
        tile.format() == PixelFormat::Xrgb32 ? QImage::Format_RGB32 : QImage::Format_RGB888;
    return QImage(tile.constBits(), tile.width(), tile.height(), tile.bytesPerLine(), format)
        .copy();
}

TilePixels AsTilePixels(const QImage& image) {
    if (image.isNull())
        return {};
    const bool rgb32 = image.format() == QImage::Format_RGB32;
    const QImage converted =
        image.convertToFormat(rgb32 ? QImage::Format_RGB32 : QImage::Format_RGB888);
    TilePixels tile(image.width(), image.height(),
                    rgb32 ? PixelFormat::Xrgb32 : PixelFormat::Rgb888);
    const auto rowBytes = static_cast<std::size_t>(image.width() * BytesPerPixel(tile.format()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(tile.scanLine(y), converted.constScanLine(y), rowBytes);
    return tile;
}
