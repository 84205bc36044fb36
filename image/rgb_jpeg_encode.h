// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Baseline JPEG encoding of 8-bit RGB pixels in memory. Plain C++ without Qt, shared by the
// demo tile server (which renders its tiles) and the program (which re-encodes PNG tiles).
#include <cstddef>
#include <cstdint>
#include <vector>

// The complete JPEG file (SOI to EOI) for width x height RGB pixels whose rows start
// rowBytes apart, at the given quality (1 to 100, libjpeg's scale); empty if libjpeg failed.
std::vector<std::uint8_t> EncodeRgbJpeg(const std::uint8_t* pixels, int width, int height,
                                        std::size_t rowBytes, int quality);
