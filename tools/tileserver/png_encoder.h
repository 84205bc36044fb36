// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encoding of RGB pictures as PNG files in memory, for sources that serve PNG tiles.
#include "tools/tileserver/rgb_image.h"

#include <cstdint>
#include <vector>

namespace tileserver {

// The complete PNG file for image; empty if libpng failed.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);

} // namespace tileserver
