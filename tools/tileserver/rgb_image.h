// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A decoded picture held in memory: 8-bit RGB, rows from the top, no padding between rows.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tileserver {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes

    RgbImage() = default;
    RgbImage(int w, int h)
        : width(w), height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}

    std::uint8_t* Pixel(int x, int y) { return pixels.data() + Offset(x, y); }
    const std::uint8_t* Pixel(int x, int y) const { return pixels.data() + Offset(x, y); }

private:
    std::size_t Offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)) *
               3;
    }
};

} // namespace tileserver
