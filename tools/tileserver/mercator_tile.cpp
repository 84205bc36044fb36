// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/mercator_tile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tileserver {

namespace {

// Where one output column or row falls between two source pixels.
struct SampleSpan {
    int first = 0;
    int second = 0;
    double weight = 0; // share of second
};

SampleSpan WrappedSpan(double position, int size) {
    const double base = std::floor(position);
    const int first = static_cast<int>(std::fmod(std::fmod(base, size) + size, size));
    return {first, (first + 1) % size, position - base};
}

SampleSpan ClampedSpan(double position, int size) {
    const double base = std::floor(position);
    const int first = static_cast<int>(std::clamp(base, 0.0, size - 1.0));
    const int second = static_cast<int>(std::clamp(base + 1, 0.0, size - 1.0));
    return {first, second, position - base};
}

} // namespace

RgbImage RenderMercatorTile(const RgbImage& world, const TileKey& tile) {
    RgbImage out(kTileSide, kTileSide);
    const double worldPixels = std::ldexp(double{kTileSide}, tile.level);
    const double pi = std::numbers::pi;

    // Pixel centres of the tile, in the world's global pixel grid of this level.
    std::array<SampleSpan, kTileSide> columns{};
    for (int x = 0; x < kTileSide; ++x) {
        const double global = static_cast<double>(tile.column) * kTileSide + x + 0.5;
        columns[x] = WrappedSpan(global / worldPixels * world.width - 0.5, world.width);
    }
    for (int y = 0; y < kTileSide; ++y) {
        const double global = static_cast<double>(tile.row) * kTileSide + y + 0.5;
        const double mercatorY = pi * (1 - 2 * global / worldPixels); // pi at the top edge
        const double latitude = std::atan(std::sinh(mercatorY));      // radians
        const SampleSpan row =
            ClampedSpan((0.5 - latitude / pi) * world.height - 0.5, world.height);
        std::uint8_t* target = out.Pixel(0, y);
        for (const SampleSpan& column : columns) {
            const std::uint8_t* a = world.Pixel(column.first, row.first);
            const std::uint8_t* b = world.Pixel(column.second, row.first);
            const std::uint8_t* c = world.Pixel(column.first, row.second);
            const std::uint8_t* d = world.Pixel(column.second, row.second);
            for (int channel = 0; channel < 3; ++channel) {
                const double top = a[channel] + (b[channel] - a[channel]) * column.weight;
                const double bottom = c[channel] + (d[channel] - c[channel]) * column.weight;
                const double value = top + (bottom - top) * row.weight;
                *target++ = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
            }
        }
    }
    return out;
}

} // namespace tileserver
