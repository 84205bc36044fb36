// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stitched picture while its tiles arrive: 8-bit RGB, three bytes a pixel, rows from
// the top without padding. Not a TilePixels: a picture of 255 by 255 tiles has more than 2^32
// pixels, beyond what any 32-bit size can describe, so sizes and offsets are
// 64-bit.
#include "image/tile_pixels.h"

#include <QtGlobal>
#include <cstdlib>
#include <memory>
#include <optional>

class RgbPicture {
public:
    // A black picture, or nothing when a side is below 1, the byte count does not fit the
    // address space or the memory cannot be had.
    static std::optional<RgbPicture> Create(qint64 width, qint64 height);

    qint64 width() const { return width_; }
    qint64 height() const { return height_; }
    // The first byte of row y (0 <= y < height()).
    const unsigned char* row(qint64 y) const { return bytes_.get() + y * width_ * 3; }
    unsigned char* row(qint64 y) { return bytes_.get() + y * width_ * 3; }

    // The rows of the width by height square whose top-left corner is (x, y), for a tile
    // decoded straight into the picture; no rows when the square does not lie wholly within.
    PixelRows Square(qint64 x, qint64 y, int width, int height);

    // Copies the tile in with its top-left corner at (x, y); whatever falls outside the
    // picture is dropped. A tile in another format is converted to RGB888 first; a null
    // tile draws nothing.
    void DrawTile(const TilePixels& tile, qint64 x, qint64 y);

    // A copy of rows top to bottom (excluded, both within the picture); nothing when the
    // memory cannot be had. A band of a picture that is handed on a band at a time.
    std::optional<RgbPicture> CopyRows(qint64 top, qint64 bottom) const;

    // Gives the memory of rows top to bottom (excluded) back to the system, whole pages
    // only; what was given back reads as black. For a picture that is being used up.
    void ReleaseRows(qint64 top, qint64 bottom);

private:
    struct FreeBytes {
        void operator()(unsigned char* bytes) const { std::free(bytes); }
    };
    using Bytes = std::unique_ptr<unsigned char[], FreeBytes>;

    RgbPicture(qint64 width, qint64 height, Bytes bytes)
        : width_(width), height_(height), bytes_(std::move(bytes)) {}

    qint64 width_;
    qint64 height_;
    Bytes bytes_;
};
