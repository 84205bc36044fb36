// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoding of JPEG data held in memory.
#include "tools/tileserver/rgb_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tileserver {

// Large enough for any world picture worth serving, small enough that a hostile
// header cannot make us allocate gigabytes.
inline constexpr std::size_t kMaxDecodedPixels = std::size_t{64} * 1024 * 1024;

// Decodes bytes to RGB (grey pictures are expanded). On failure returns nothing and
// sets error to libjpeg's explanation.
std::optional<RgbImage> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string& error,
                                   std::size_t maxPixels = kMaxDecodedPixels);

} // namespace tileserver
