// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A rectangle of tiles of one level and where it lies on the spherical Web Mercator plane
// (EPSG:3857) and on the globe. Columns count from the west edge of the world, rows from
// the north edge; a rectangle that runs past an edge goes on from the opposite one, as the
// neighbour steps do, so its cells are taken modulo the level's grid.
#include "tiles/tile_key.h"
#include "tiles/tile_side.h"

#include <array>
#include <cstdint>
#include <optional>

struct TileBlock {
    int level = 0;
    std::int64_t column = 0; // of the north-west tile
    std::int64_t row = 0;
    std::int64_t columns = 1;
    std::int64_t rows = 1;
    friend bool operator==(const TileBlock&, const TileBlock&) = default;
};

// Metres from the centre of the Web Mercator plane to its edges: half the equator of the
// sphere of radius 6378137 m.
inline constexpr double kWebMercatorHalfSide = 20037508.342789244;

// The tile columnOffset columns east and rowOffset rows south of the block's north-west
// tile, wrapped into the grid.
TileKey CellInBlock(const TileBlock& block, std::int64_t columnOffset, std::int64_t rowOffset);

// Where a tile lies inside the block, or nothing when it lies outside or is of another level.
struct BlockOffset {
    std::int64_t column = 0;
    std::int64_t row = 0;
};
std::optional<BlockOffset> OffsetInBlock(const TileBlock& block, const TileKey& key);

// GDAL's affine geotransform of the block's picture (one pixel per tile pixel): x of the
// west edge, pixel width, 0, y of the north edge, 0, negative pixel height, in metres.
// Exact for every pixel, since the tiles are square cells of that plane.
std::array<double, 6> BlockGeoTransform(const TileBlock& block);

// Latitude in degrees of the horizontal edge at a fractional row of the level (0 is the
// north edge of the world), and east-positive longitude of a fractional column.
double RowEdgeLatitude(int level, double row);
double ColumnEdgeLongitude(int level, double column);

// A fractional row of the level at a latitude: the inverse of RowEdgeLatitude.
double RowAtLatitude(int level, double latitude);

// Degrees of the block's edges; east and west run past 180 for a block that wraps.
struct GeoBounds {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};
GeoBounds BlockBounds(const TileBlock& block);
