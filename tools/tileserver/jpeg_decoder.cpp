// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/jpeg_decoder.h"

#include "image/jpeg_error_trap.h"

namespace tileserver {

namespace {

struct Decoding {
    jpeg_decompress_struct info{}; // zeroed, so destroying it before creation is harmless
    JpegErrorTrap trap;
    RgbImage image;
    std::string problem;

    Decoding() = default;
    Decoding(const Decoding&) = delete;
    Decoding& operator=(const Decoding&) = delete;
    ~Decoding() { jpeg_destroy_decompress(&info); }
};

// Everything that can longjmp happens here. The function owns no objects with
// destructors, so jumping back out of libjpeg skips nothing.
bool RunDecoder(Decoding& d, std::span<const std::uint8_t> bytes, std::size_t maxPixels) {
    d.info.err = InstallJpegErrorTrap(d.trap);
    if (setjmp(d.trap.jumpBack) != 0) {
        d.problem = d.trap.message;
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    const std::size_t pixels = static_cast<std::size_t>(d.info.output_width) * d.info.output_height;
    if (d.info.output_components != 3 || pixels == 0 || pixels > maxPixels) {
        d.problem = "unsupported picture size or colour layout";
        return false;
    }
    d.image =
        RgbImage(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.Pixel(0, static_cast<int>(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

std::optional<RgbImage> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string& error,
                                   std::size_t maxPixels) {
    Decoding decoding;
    if (!RunDecoder(decoding, bytes, maxPixels)) {
        error = decoding.problem;
        return std::nullopt;
    }
    return std::move(decoding.image);
}

} // namespace tileserver
