// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tile_pixmap.h"

#include <memory>

namespace {

using SharedBytes = std::shared_ptr<uchar[]>;

void LetGo(void* bytes) {
    delete static_cast<SharedBytes*>(bytes);
}

} // namespace

QImage WrappedTileImage(const TilePixels& tile) {
    if (tile.isNull())
        return {};
    const QImage::Format format =
        tile.format() == PixelFormat::Xrgb32 ? QImage::Format_RGB32 : QImage::Format_RGB888;
    return QImage(tile.constBits(), tile.width(), tile.height(), tile.bytesPerLine(), format, LetGo,
                  new SharedBytes(tile.SharedBytes()));
}

QPixmap TilePixmap(const TilePixels& tile) {
    // A raster pixmap takes an image already in its format as it is: the pixmap shows the
    // tile's own bytes, and the decoder decodes into another of its spares while it does.
    return QPixmap::fromImage(WrappedTileImage(tile));
}
