// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoding JPEG data held in memory.
#include "image/tile_pixels.h"

#include <QByteArray>

#include <array>
#include <memory>

// Tiles are 256 pixels square. A header declaring more than this on a side is a bad file:
// a few kilobytes of progressive data can otherwise claim 8192 by 8192 pixels and keep the
// decoder busy for seconds in hundreds of megabytes.
inline constexpr int kMaxJpegSide = 1024;

// Decodes picture after picture with one libjpeg decompressor and a few pixel buffers that
// go round: the caller's previous picture becomes a spare, and a spare nobody else holds
// any more is decoded into again. A loop over thousands of tiles of one size then allocates
// no pixels per tile, which spares the heap from shrinking and growing again on every tile.
class JpegDecoder {
public:
    // Pictures come out in format (see PixelFormat).
    explicit JpegDecoder(PixelFormat format = PixelFormat::Rgb888);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // As DecodeJpeg below.
    bool Decode(const QByteArray& data, TilePixels& image);
    // As Decode, but into rows, and only a picture of exactly their sides by a decoder of
    // RGB888: a stitch then copies nothing. On failure the rows may hold part of the picture.
    bool DecodeInto(const QByteArray& data, const PixelRows& rows);
    PixelFormat Format() const { return format_; }

    // Whether Decode would get past the headers and tables (sides, precision, sampling,
    // tables): what refuses a file laid out whole, since damaged coded data decodes into
    // wrong pixels instead. Only a progressive file's scans are read, not a baseline one's.
    bool Starts(const QByteArray& data);

    struct State;

private:
    // A spare the caller's previous picture goes to while the window or a stitched picture
    // still holds the one before; four tiles of a view are on their way at most.
    static constexpr int kSpares = 6;

    // The spare decoded into, a negative figure for the caller's rows, -1 on failure.
    int RunOnce(const QByteArray& data, const PixelRows* into);

    PixelFormat format_;
    std::unique_ptr<State> state_;
    std::array<TilePixels, kSpares> spares_;
    int nextSpare_ = 0;
};

// Decodes data into an RGB888 image. Grayscale, YCbCr, RGB and CMYK/YCCK files are
// accepted. Data that is merely cut short still decodes (the missing part is filled
// in); corrupt data, unsupported colour spaces and sides above kMaxJpegSide fail.
// On failure image is left as it was.
bool DecodeJpeg(const QByteArray& data, TilePixels& image);
