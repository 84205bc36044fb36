// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/jpeg_encoder.h"

#include "image/rgb_jpeg_encode.h"

namespace tileserver {

std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image, int quality) {
    return EncodeRgbJpeg(image.pixels.data(), image.width, image.height,
                         static_cast<std::size_t>(image.width) * 3, quality);
}

} // namespace tileserver
