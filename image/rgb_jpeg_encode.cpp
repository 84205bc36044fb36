// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/rgb_jpeg_encode.h"

#include "image/jpeg_sink.h"

#include <algorithm>

namespace {

// Everything that can longjmp happens here; no objects with destructors live in this frame.
struct RgbRows {
    const std::uint8_t* pixels;
    int width;
    int height;
    std::size_t rowBytes;
};

bool RunEncoder(JpegCompression& e, const RgbRows& image, int quality) {
    e.info.err = InstallJpegErrorTrap(e.trap);
    if (setjmp(e.trap.jumpBack) != 0)
        return false;
    jpeg_create_compress(&e.info);
    e.destination.Attach(&e.info);
    e.info.image_width = static_cast<JDIMENSION>(image.width);
    e.info.image_height = static_cast<JDIMENSION>(image.height);
    e.info.input_components = 3;
    e.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        // libjpeg's row type is not const, but it only reads the input rows.
        JSAMPROW row =
            const_cast<std::uint8_t*>(image.pixels + image.rowBytes * e.info.next_scanline);
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeRgbJpeg(const std::uint8_t* pixels, int width, int height,
                                        std::size_t rowBytes, int quality) {
    if (width <= 0 || height <= 0 || rowBytes < static_cast<std::size_t>(width) * 3)
        return {};
    std::vector<std::uint8_t> bytes;
    // Appending may throw, which the destination takes as a refusal.
    const JpegSink append = [&bytes](const char* data, std::size_t size) {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    };
    JpegCompression encoding;
    if (!encoding.destination.Prepare(append) ||
        !RunEncoder(encoding, RgbRows{pixels, width, height, rowBytes}, quality))
        return {};
    return bytes;
}
