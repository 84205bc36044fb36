// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/tile_pixels.h"

#include "image/whole_pages.h"

#include <cstring>
#include <new>

namespace {

constexpr int kLargestSide = 32767;

// From this size on, a new picture's pages are made in one call rather than at the decoder's
// first write to each (a 256 by 256 tile is 48 or 64 pages); below it the call would cost
// more than the faults it saves.
constexpr std::size_t kPagesNowBytes = std::size_t{64} << 10;

std::uint32_t ReadWord(const uchar* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Writes the colour 0xRRGGBB as pixel x of a row in format.
void WritePixel(uchar* row, int x, PixelFormat format, std::uint32_t rgb) {
    if (format == PixelFormat::Xrgb32) {
        const std::uint32_t word = 0xff000000u | rgb;
        std::memcpy(row + x * 4, &word, sizeof word);
        return;
    }
    uchar* const p = row + x * 3;
    p[0] = static_cast<uchar>(rgb >> 16);
    p[1] = static_cast<uchar>(rgb >> 8);
    p[2] = static_cast<uchar>(rgb);
}

} // namespace

TilePixels::TilePixels(int width, int height, PixelFormat format) {
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return;
    const qsizetype rowBytes = qsizetype{width} * BytesPerPixel(format);
    const qsizetype stride = (rowBytes + 3) / 4 * 4;
    const auto size = static_cast<std::size_t>(stride * height);
    uchar* const bytes = new (std::nothrow) uchar[size];
    if (bytes == nullptr)
        return;
    if (size >= kPagesNowBytes)
        MakePagesNow(bytes, size);
    bytes_.reset(bytes);
    width_ = width;
    height_ = height;
    format_ = format;
    bytesPerLine_ = stride;
}

uchar* TilePixels::bits() {
    if (bytes_ && !isDetached()) {
        TilePixels copy(width_, height_, format_);
        if (copy.isNull())
            return nullptr;
        std::memcpy(copy.bytes_.get(), bytes_.get(),
                    static_cast<std::size_t>(bytesPerLine_ * height_));
        *this = std::move(copy);
    }
    return bytes_.get();
}

void TilePixels::Fill(std::uint32_t rgb) {
    if (isNull())
        return;
    uchar* const bytes = bits();
    if (bytes == nullptr)
        return;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            WritePixel(bytes + y * bytesPerLine_, x, format_, rgb & 0xffffffu);
}

std::uint32_t TilePixels::Pixel(int x, int y) const {
    const uchar* const row = constScanLine(y);
    if (format_ == PixelFormat::Xrgb32)
        return ReadWord(row + x * 4) & 0xffffffu;
    const uchar* const p = row + x * 3;
    return std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
}

TilePixels TilePixels::ConvertedTo(PixelFormat format) const {
    if (isNull() || format == format_)
        return *this;
    TilePixels converted(width_, height_, format);
    if (converted.isNull())
        return converted;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            WritePixel(converted.bytes_.get() + y * converted.bytesPerLine_, x, format,
                       Pixel(x, y));
    return converted;
}

bool operator==(const TilePixels& a, const TilePixels& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_ || a.format_ != b.format_)
        return false;
    if (a.bytes_ == b.bytes_)
        return true;
    const auto rowBytes = static_cast<std::size_t>(a.width_ * BytesPerPixel(a.format_));
    for (int y = 0; y < a.height_; ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes) != 0)
            return false;
    return true;
}
