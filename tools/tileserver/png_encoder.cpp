// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/png_encoder.h"

#include <png.h>

namespace tileserver {

std::vector<std::uint8_t> EncodePng(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0)
        return {};
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    info.width = static_cast<png_uint_32>(image.width);
    info.height = static_cast<png_uint_32>(image.height);
    info.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    // The first call only measures.
    if (!png_image_write_to_memory(&info, nullptr, &size, 0, image.pixels.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&info, bytes.data(), &size, 0, image.pixels.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

} // namespace tileserver
