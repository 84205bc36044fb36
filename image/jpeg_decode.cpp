// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_decode.h"

#include "image/jpeg_error_trap.h"

#include <cstdint>
#include <cstring>

namespace {

// A progressive file with thousands of tiny scans can take minutes to decode.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        (*info->err->error_exit)(info); // gives up through the trap, like any fatal error
}

} // namespace

// Everything libjpeg touches, owned outside the function that calls setjmp so that a
// jump back never skips a destructor. The decompressor is made once and reset after each
// picture, so its permanent allocations are made once too.
struct JpegDecoder::State {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap;
    jpeg_progress_mgr progress{};
    bool created = false;

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

namespace {

using State = JpegDecoder::State;

bool DimensionsAcceptable(const jpeg_decompress_struct& info) {
    return info.image_width > 0 && info.image_height > 0 && info.image_width <= kMaxJpegSide &&
           info.image_height <= kMaxJpegSide;
}

// Ink amounts to RGB, written as three bytes a pixel or as one 0xffRRGGBB word. Adobe applications
// store CMYK inverted and mark it with their marker, which is by far the common case; plain CMYK
// counts ink upwards.
void CmykRowToRgb(const JSAMPLE* cmyk, unsigned char* out, JDIMENSION width, bool inverted,
                  bool rgb32) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        int rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = (inverted ? cmyk[c] : 255 - cmyk[c]) * k / 255;
        if (rgb32) {
            const std::uint32_t word = 0xff000000u | std::uint32_t(rgb[0]) << 16 |
                                       std::uint32_t(rgb[1]) << 8 | std::uint32_t(rgb[2]);
            std::memcpy(out + x * 4, &word, sizeof word);
            continue;
        }
        for (int c = 0; c < 3; ++c)
            *out++ = static_cast<unsigned char>(rgb[c]);
    }
}

// libjpeg-turbo's layout of an Xrgb32 pixel, a 0xffRRGGBB word in the machine's byte order;
// its fourth byte comes out as 0xff.
constexpr J_COLOR_SPACE kRgb32Space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// The spare to decode into: one of the right size that nobody else holds, or else a fresh
// image in the next slot round. Gives its index, or -1 when the memory cannot be had. Kept
// out of Run so that no temporary image is ever alive inside it.
template <std::size_t N>
int PickImage(std::array<TilePixels, N>& spares, int& next, JDIMENSION width, JDIMENSION height,
              PixelFormat format) {
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    for (std::size_t i = 0; i < N; ++i) {
        const TilePixels& spare = spares[i];
        if (spare.isDetached() && spare.width() == w && spare.height() == h &&
            spare.format() == format)
            return static_cast<int>(i);
    }
    const int slot = next;
    next = (next + 1) % static_cast<int>(N);
    spares[slot] = TilePixels(w, h, format);
    return spares[slot].isNull() ? -1 : slot;
}

// Reads the headers and starts the decoder; false for sides out of range. Jumps back to the
// caller's trap on a fatal error.
bool Start(State& d, const QByteArray& data, PixelFormat format) {
    if (!d.created) {
        jpeg_create_decompress(&d.info);
        d.created = true;
        d.progress.progress_monitor = LimitScans;
        d.info.progress = &d.progress;
    }
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    // Decided from the header alone: jpeg_start_decompress already allocates for the whole
    // picture, and a few kilobytes can declare 8192 by 8192 pixels.
    if (!DimensionsAcceptable(d.info))
        return false;
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    const bool rgb32 = format == PixelFormat::Xrgb32;
    d.info.out_color_space = cmyk ? JCS_CMYK : rgb32 ? kRgb32Space : JCS_RGB;
    jpeg_start_decompress(&d.info);
    return true;
}

// Start alone, under a trap of its own; true when the decoder got that far.
bool StartOnly(State& d, const QByteArray& data, PixelFormat format) {
    d.info.err = InstallJpegErrorTrap(d.trap);
    if (setjmp(d.trap.jumpBack))
        return false;
    return Start(d, data, format);
}

// What Run gives back for a picture decoded into the caller's rows rather than a spare.
constexpr int kIntoRows = -2;

// Decodes into the caller's rows when into is given, or else into one of spares, and gives
// kIntoRows or the spare's index; -1 on failure. Holds no objects with destructors: libjpeg
// may jump out of any call below.
template <std::size_t N>
int Run(State& d, const QByteArray& data, PixelFormat format, std::array<TilePixels, N>& spares,
        int& next, const PixelRows* into) {
    d.info.err = InstallJpegErrorTrap(d.trap);
    if (setjmp(d.trap.jumpBack))
        return -1;
    if (!Start(d, data, format))
        return -1;
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    const bool rgb32 = format == PixelFormat::Xrgb32;

    const JDIMENSION width = d.info.output_width;
    int slot = kIntoRows;
    unsigned char* bits = nullptr;
    qsizetype stride = 0;
    if (into != nullptr) {
        if (into->first == nullptr || width != static_cast<JDIMENSION>(into->width) ||
            d.info.output_height != static_cast<JDIMENSION>(into->height))
            return -1;
        bits = into->first;
        stride = into->bytesPerLine;
    } else {
        slot = PickImage(spares, next, width, d.info.output_height, format);
        if (slot < 0)
            return -1;
        bits = spares[slot].bits();
        stride = spares[slot].bytesPerLine();
    }
    // A row for the four-channel samples, released with the decoder.
    JSAMPARRAY cmykRow = cmyk ? (*d.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.info),
                                                            JPOOL_IMAGE, width * 4, 1)
                              : nullptr;

    while (d.info.output_scanline < d.info.output_height) {
        unsigned char* row = bits + stride * d.info.output_scanline;
        if (cmyk) {
            if (jpeg_read_scanlines(&d.info, cmykRow, 1) != 1)
                return -1;
            CmykRowToRgb(cmykRow[0], row, width, d.info.saw_Adobe_marker, rgb32);
        } else {
            JSAMPROW rows[1] = {row};
            if (jpeg_read_scanlines(&d.info, rows, 1) != 1)
                return -1;
        }
    }
    jpeg_finish_decompress(&d.info);
    return slot;
}

} // namespace

bool JpegDecoder::Starts(const QByteArray& data) {
    const bool started = !data.isEmpty() && StartOnly(*state_, data, format_);
    if (state_->created)
        jpeg_abort_decompress(&state_->info);
    return started;
}

JpegDecoder::JpegDecoder(PixelFormat format) : format_(format), state_(std::make_unique<State>()) {}

JpegDecoder::~JpegDecoder() = default;

int JpegDecoder::RunOnce(const QByteArray& data, const PixelRows* into) {
    if (data.isEmpty())
        return -1;
    const int slot = Run(*state_, data, format_, spares_, nextSpare_, into);
    // Back to the start state, ready for the next picture; the image pool is freed.
    if (slot == -1 && state_->created)
        jpeg_abort_decompress(&state_->info);
    return slot;
}

bool JpegDecoder::Decode(const QByteArray& data, TilePixels& image) {
    const int slot = RunOnce(data, nullptr);
    if (slot < 0)
        return false;
    // The caller's previous picture becomes a spare, to be decoded into again once it is
    // let go of everywhere else.
    std::swap(image, spares_[slot]);
    return true;
}

bool JpegDecoder::DecodeInto(const QByteArray& data, const PixelRows& rows) {
    return format_ == PixelFormat::Rgb888 && RunOnce(data, &rows) == kIntoRows;
}

bool DecodeJpeg(const QByteArray& data, TilePixels& image) {
    JpegDecoder decoder;
    return decoder.Decode(data, image);
}
