// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_block.h"

#include "tiles/mercator.h"

#include <cmath>

namespace {

std::int64_t GridSide(int level) {
    return std::int64_t{1} << level;
}

std::int64_t Wrapped(std::int64_t value, std::int64_t side) {
    const std::int64_t rest = value % side;
    return rest < 0 ? rest + side : rest;
}

} // namespace

TileKey CellInBlock(const TileBlock& block, std::int64_t columnOffset, std::int64_t rowOffset) {
    const std::int64_t side = GridSide(block.level);
    return {block.level, static_cast<std::uint32_t>(Wrapped(block.column + columnOffset, side)),
            static_cast<std::uint32_t>(Wrapped(block.row + rowOffset, side))};
}

std::optional<BlockOffset> OffsetInBlock(const TileBlock& block, const TileKey& key) {
    if (key.level != block.level)
        return std::nullopt;
    const std::int64_t side = GridSide(block.level);
    const BlockOffset offset{Wrapped(std::int64_t{key.column} - block.column, side),
                             Wrapped(std::int64_t{key.row} - block.row, side)};
    if (offset.column >= block.columns || offset.row >= block.rows)
        return std::nullopt;
    return offset;
}

std::array<double, 6> BlockGeoTransform(const TileBlock& block) {
    const double tileMetres = 2 * kWebMercatorHalfSide / static_cast<double>(GridSide(block.level));
    return {-kWebMercatorHalfSide + static_cast<double>(block.column) * tileMetres,
            tileMetres / kTileSide,
            0,
            kWebMercatorHalfSide - static_cast<double>(block.row) * tileMetres,
            0,
            -tileMetres / kTileSide};
}

double RowEdgeLatitude(int level, double row) {
    return static_cast<double>(LatitudeOfFraction(1 - row / TwoToThe(level)));
}

double ColumnEdgeLongitude(int level, double column) {
    return static_cast<double>(-LongitudeOfFraction(1 - column / TwoToThe(level)));
}

double RowAtLatitude(int level, double latitude) {
    const long double radians = latitude * kPi * kInverse180;
    const long double mercatorY = std::log(std::tan(kPi / 4 + radians / 2)); // -pi..pi
    return static_cast<double>((1 - mercatorY * kInversePi) / 2 * TwoToThe(level));
}

GeoBounds BlockBounds(const TileBlock& block) {
    return {ColumnEdgeLongitude(block.level, static_cast<double>(block.column)),
            RowEdgeLatitude(block.level, static_cast<double>(block.row + block.rows)),
            ColumnEdgeLongitude(block.level, static_cast<double>(block.column + block.columns)),
            RowEdgeLatitude(block.level, static_cast<double>(block.row))};
}
