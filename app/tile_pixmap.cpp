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
    // Handed on as a named image, so that the pixmap copies the pixels rather than adopting
    // the wrapper: the tile's bytes go back to the decoder, to be decoded into again.
    const QImage image = WrappedTileImage(tile);
    return QPixmap::fromImage(image);
}
