#include "batch/rgb_picture.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

std::optional<RgbPicture> RgbPicture::Create(qint64 width, qint64 height) {
    if (width < 1 || height < 1)
        return std::nullopt;
    constexpr qint64 kMaxBytes = std::numeric_limits<std::ptrdiff_t>::max();
    if (width > kMaxBytes / 3 / height)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(width * height * 3);
    try {
        // Zeroed, so a picture whose tile loop stopped early has black, not stale heap,
        // where tiles are missing.
        return RgbPicture(width, height, std::make_unique<unsigned char[]>(size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

void RgbPicture::DrawTile(const QImage& tile, qint64 x, qint64 y) {
    // Also keeps x + the tile's width from overflowing.
    if (tile.isNull() || x >= width_ || y >= height_)
        return;
    const QImage rgb =
        tile.format() == QImage::Format_RGB888 ? tile : tile.convertToFormat(QImage::Format_RGB888);
    const qint64 left = std::max<qint64>(x, 0);
    const qint64 right = std::min<qint64>(x + rgb.width(), width_);
    const qint64 top = std::max<qint64>(y, 0);
    const qint64 bottom = std::min<qint64>(y + rgb.height(), height_);
    if (left >= right || top >= bottom)
        return;
    const auto rowBytes = static_cast<std::size_t>((right - left) * 3);
    for (qint64 py = top; py < bottom; ++py) {
        const uchar* source = rgb.constScanLine(static_cast<int>(py - y)) + (left - x) * 3;
        std::memcpy(bytes_.get() + (py * width_ + left) * 3, source, rowBytes);
    }
}
