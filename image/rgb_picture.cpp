// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/rgb_picture.h"

#include "image/whole_pages.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

#include <sys/mman.h>

namespace {

// The largest picture backed by huge pages. Beyond a few hundred megabytes the system has to
// find the 2 MiB pages first (compacting memory or, on a virtual machine, taking back from the
// host memory it handed over): a 3 GiB picture then spends 2.5 to 5.5 s more in the kernel
// than with 4 KiB pages, while a 48 MiB one saves a tenth of its stitch's time.
constexpr std::size_t kMostHugePageBytes = std::size_t{256} << 20;

// Asks for the bytes to be backed by huge pages where the system allows it and the picture is
// small enough to gain from them. Every byte of the picture is written once, and touching tens
// of megabytes 4 KiB at a time costs more page faults than all the tiles' decoding (about
// 0.3 s for a 4096 by 4096 picture on a virtual machine, against 0.01 s with 2 MiB pages).
// Only advice: refused, nothing changes.
//
// A larger picture has its pages made in one call instead, where the system can: the tiles
// then write into memory that is there already, rather than stopping at every 4 KiB for the
// kernel to make the next page.
void AdviseHugePages(unsigned char* bytes, std::size_t size) {
    if (size > kMostHugePageBytes) {
        MakePagesNow(bytes, size);
        return;
    }
    AdviseWholePages(bytes, size, MADV_HUGEPAGE);
}

} // namespace

std::optional<RgbPicture> RgbPicture::Create(qint64 width, qint64 height) {
    if (width < 1 || height < 1)
        return std::nullopt;
    constexpr qint64 kMaxBytes = std::numeric_limits<std::ptrdiff_t>::max();
    if (width > kMaxBytes / 3 / height)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(width * height * 3);
    // Zeroed, so a picture whose tile loop stopped early has black, not stale heap, where
    // tiles are missing. calloc rather than a zeroing new: a large block comes straight from
    // the system already zeroed, so its pages are first touched by the tiles, after the
    // advice below.
    Bytes bytes(static_cast<unsigned char*>(std::calloc(size, 1)));
    if (!bytes)
        return std::nullopt;
    AdviseHugePages(bytes.get(), size);
    return RgbPicture(width, height, std::move(bytes));
}

std::optional<RgbPicture> RgbPicture::CopyRows(qint64 top, qint64 bottom) const {
    std::optional<RgbPicture> band = Create(width_, bottom - top);
    if (band)
        std::memcpy(band->bytes_.get(), row(top),
                    static_cast<std::size_t>(band->height_ * width_ * 3));
    return band;
}

void RgbPicture::ReleaseRows(qint64 top, qint64 bottom) {
    top = std::max<qint64>(top, 0);
    bottom = std::min(bottom, height_);
    if (top >= bottom)
        return;
    AdviseWholePages(row(top), static_cast<std::size_t>((bottom - top) * width_ * 3),
                     MADV_DONTNEED);
}

PixelRows RgbPicture::Square(qint64 x, qint64 y, int width, int height) {
    if (x < 0 || y < 0 || width < 1 || height < 1 || width > width_ - x || height > height_ - y)
        return {};
    return {row(y) + x * 3, static_cast<qsizetype>(width_ * 3), width, height};
}

void RgbPicture::DrawTile(const TilePixels& tile, qint64 x, qint64 y) {
    // Also keeps x + the tile's width from overflowing.
    if (tile.isNull() || x >= width_ || y >= height_)
        return;
    const TilePixels rgb = tile.ConvertedTo(PixelFormat::Rgb888);
    if (rgb.isNull())
        return;
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
