// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encoding of RGB pictures as baseline JPEG files in memory.
#include "tools/tileserver/rgb_image.h"

#include <cstdint>
#include <vector>

namespace tileserver {

inline constexpr int kTileJpegQuality = 85;

// The complete JPEG file (SOI to EOI) for image at the given quality (1 to 100);
// empty if libjpeg failed.
std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image, int quality = kTileJpegQuality);

} // namespace tileserver
