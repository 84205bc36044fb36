// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_tile.h"

#include "image/png_bounds.h"
#include "image/rgb_jpeg_encode.h"
#include "tiles/tile_side.h"

#include <QImage>
#include <QPainter>

std::optional<QImage> DecodePngTile(const QByteArray& data, QImage::Format format) {
    if (!data.startsWith("\x89PNG\r\n\x1a\n") || data.size() < 24)
        return std::nullopt;
    const auto side = [&](int at) {
        return (static_cast<quint32>(static_cast<unsigned char>(data[at])) << 24) |
               (static_cast<quint32>(static_cast<unsigned char>(data[at + 1])) << 16) |
               (static_cast<quint32>(static_cast<unsigned char>(data[at + 2])) << 8) |
               static_cast<quint32>(static_cast<unsigned char>(data[at + 3]));
    };
    if (side(16) != kTileSide || side(20) != kTileSide)
        return std::nullopt;
    // Nor is one whose data would inflate past what a tile can need.
    const std::optional<QByteArray> bounded = BoundedTilePng(data);
    QImage image;
    if (!bounded || !image.loadFromData(*bounded, "PNG") ||
        image.size() != QSize(kTileSide, kTileSide))
        return std::nullopt;
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    image.convertTo(format);
    return image;
}

std::optional<QByteArray> PngTileAsJpeg(const QByteArray& data, int quality) {
    const std::optional<QImage> decoded = DecodePngTile(data);
    if (!decoded)
        return std::nullopt;
    const QImage& image = *decoded;
    const std::vector<std::uint8_t> jpeg =
        EncodeRgbJpeg(image.constBits(), image.width(), image.height(),
                      static_cast<std::size_t>(image.bytesPerLine()), quality);
    if (jpeg.empty())
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
}
