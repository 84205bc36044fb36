// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A decoded picture as the loader, the jobs and the outputs pass it on: plain pixel rows with
// no toolkit behind them, so that the batch commands never load a GUI library. Copies share
// their pixels until one of them is written to, so a tile handed to a window and kept by the
// decoder costs no copy; the window wraps the same bytes for a pixmap.
#include <QtGlobal>
#include <cstdint>
#include <memory>

enum class PixelFormat {
    Rgb888, // three bytes a pixel, red first: the rows the stitch and the outputs write
    Xrgb32, // one 32-bit word a pixel, 0xffRRGGBB in the machine's byte order: what a pixmap is
            // made of on screen, so that showing a tile converts nothing
};

class TilePixels {
public:
    // The null picture: no pixels.
    TilePixels() = default;
    // A picture of width by height pixels whose bytes are not set yet; null when a side is
    // below 1 or above 32767, or when the memory cannot be had.
    TilePixels(int width, int height, PixelFormat format);

    bool isNull() const { return bytes_ == nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    // Rows start on 4-byte boundaries, as a pixmap's do.
    qsizetype bytesPerLine() const { return bytesPerLine_; }
    const uchar* constBits() const { return bytes_.get(); }
    const uchar* constScanLine(int y) const { return bytes_.get() + y * bytesPerLine_; }
    // Writable bytes: a picture that shares its pixels gets a copy of its own first.
    uchar* bits();
    uchar* scanLine(int y) { return bits() + y * bytesPerLine_; }
    // Whether no other copy shares the pixels, so that writing to them changes this one only.
    bool isDetached() const { return bytes_.use_count() == 1; }
    // The shared bytes themselves, for a wrapper that must keep them alive.
    std::shared_ptr<uchar[]> SharedBytes() const { return bytes_; }

    // Every pixel set to the colour 0xRRGGBB.
    void Fill(std::uint32_t rgb);
    // The colour 0xRRGGBB of the pixel at (x, y), both within the picture.
    std::uint32_t Pixel(int x, int y) const;
    // The same picture in format; itself when it is in format already.
    TilePixels ConvertedTo(PixelFormat format) const;

    // Same sides, format and pixels; the bytes past a row's last pixel do not count.
    friend bool operator==(const TilePixels& a, const TilePixels& b);

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb888;
    qsizetype bytesPerLine_ = 0;
    std::shared_ptr<uchar[]> bytes_;
};

// RGB888 rows outside any TilePixels: a tile's square within a larger picture, which a tile
// of exactly these sides is decoded straight into.
struct PixelRows {
    unsigned char* first = nullptr; // the top row's first pixel; null for no rows
    qsizetype bytesPerLine = 0;
    int width = 0;
    int height = 0;
};

// The bytes a pixel of format takes.
inline int BytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Xrgb32 ? 4 : 3;
}
