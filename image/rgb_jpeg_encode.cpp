// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/rgb_jpeg_encode.h"

#include "image/jpeg_error_trap.h"

#include <jerror.h>

#include <algorithm>
#include <new>

namespace {

// A libjpeg destination that grows a vector instead of writing a file.
struct VectorDestination {
    jpeg_destination_mgr manager{}; // must stay the first member: the callbacks cast back
    std::vector<std::uint8_t>* out = nullptr;
};

VectorDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void StartOutput(j_compress_ptr info) {
    VectorDestination& d = DestinationOf(info);
    d.manager.next_output_byte = d.out->data();
    d.manager.free_in_buffer = d.out->size();
}

boolean GrowOutput(j_compress_ptr info) {
    VectorDestination& d = DestinationOf(info);
    const std::size_t used = d.out->size();
    bool grown = true;
    try {
        d.out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) // report outside the handler: the error exit jumps away and never returns
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    d.manager.next_output_byte = d.out->data() + used;
    d.manager.free_in_buffer = d.out->size() - used;
    return TRUE;
}

void FinishOutput(j_compress_ptr info) {
    VectorDestination& d = DestinationOf(info);
    d.out->resize(d.out->size() - d.manager.free_in_buffer);
}

struct Encoding {
    jpeg_compress_struct info{}; // zeroed, so destroying it before creation is harmless
    JpegErrorTrap trap;
    VectorDestination destination;
    std::vector<std::uint8_t> bytes;

    Encoding() = default;
    Encoding(const Encoding&) = delete;
    Encoding& operator=(const Encoding&) = delete;
    ~Encoding() { jpeg_destroy_compress(&info); }
};

// Everything that can longjmp happens here; no objects with destructors live in this frame.
struct RgbRows {
    const std::uint8_t* pixels;
    int width;
    int height;
    std::size_t rowBytes;
};

bool RunEncoder(Encoding& e, const RgbRows& image, int quality) {
    e.info.err = InstallJpegErrorTrap(e.trap);
    if (setjmp(e.trap.jumpBack) != 0)
        return false;
    jpeg_create_compress(&e.info);
    e.bytes.resize(
        std::max<std::size_t>(image.rowBytes * static_cast<std::size_t>(image.height) / 4, 4096));
    e.destination.out = &e.bytes;
    e.destination.manager.init_destination = StartOutput;
    e.destination.manager.empty_output_buffer = GrowOutput;
    e.destination.manager.term_destination = FinishOutput;
    e.info.dest = &e.destination.manager;
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
    Encoding encoding;
    if (!RunEncoder(encoding, RgbRows{pixels, width, height, rowBytes}, quality))
        return {};
    return std::move(encoding.bytes);
}
