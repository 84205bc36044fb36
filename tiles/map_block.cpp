// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/map_block.h"

#include "tiles/neighbours.h"
#include "tiles/tile_block.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

int TilesToCover(int pixels) {
    return std::max(2, (std::max(pixels, 0) + kTileSide - 1) / kTileSide);
}

// Rings around the 2 by 2 view: 0 for its own cells, 1 for the cells touching it, and so on.
int RingOf(BlockCell cell) {
    return std::max(std::max(cell.column - 1, 0), std::max(cell.row - 1, 0));
}

int NearestTiles(int pixels) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) / kTileSide));
}

} // namespace

BlockSize BlockSizeFor(int width, int height) {
    return {TilesToCover(width), TilesToCover(height)};
}

int ViewSlotOf(BlockCell cell) {
    if (cell.column < 0 || cell.column > 1 || cell.row < 0 || cell.row > 1)
        return -1;
    return cell.row == 0 ? cell.column : 3 - cell.column;
}

std::vector<BlockCell> BlockFetchOrder(BlockSize size) {
    std::vector<BlockCell> cells = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    std::vector<BlockCell> rest;
    for (int row = 0; row < size.rows; ++row)
        for (int column = 0; column < size.columns; ++column)
            if (ViewSlotOf({column, row}) < 0)
                rest.push_back({column, row});
    std::stable_sort(rest.begin(), rest.end(),
                     [](BlockCell a, BlockCell b) { return RingOf(a) < RingOf(b); });
    cells.insert(cells.end(), rest.begin(), rest.end());
    return cells;
}

std::vector<BlockCell> RingAround(BlockSize size) {
    std::vector<BlockCell> cells;
    for (int column = -1; column <= size.columns; ++column)
        cells.push_back({column, -1});
    for (int row = 0; row <= size.rows; ++row)
        cells.push_back({size.columns, row});
    for (int column = size.columns - 1; column >= -1; --column)
        cells.push_back({column, size.rows});
    for (int row = size.rows - 1; row >= 0; --row)
        cells.push_back({-1, row});
    return cells;
}

BlockCell DragShift(int dx, int dy) {
    return {-NearestTiles(dx), -NearestTiles(dy)};
}

std::vector<QString> RingLetters(const QString& anchorLetters, BlockSize size) {
    QSet<QString> seen;
    const std::vector<BlockCell> block = BlockFetchOrder(size);
    for (std::size_t i = 0; i < block.size(); ++i)
        if (ViewSlotOf(block[i]) >= 0 || CellOnWorld(anchorLetters, block[i]))
            seen.insert(ShiftedLetters(anchorLetters, block[i]));
    std::vector<QString> ring;
    for (const BlockCell cell : RingAround(size)) {
        if (!CellOnWorld(anchorLetters, cell))
            continue;
        QString letters = ShiftedLetters(anchorLetters, cell);
        if (!seen.contains(letters)) {
            seen.insert(letters);
            ring.push_back(std::move(letters));
        }
    }
    return ring;
}

QString ShiftedLetters(QString letters, BlockCell cell) {
    for (int i = 0; i < cell.column; ++i)
        letters = EastNeighbour(letters);
    for (int i = 0; i > cell.column; --i)
        letters = WestNeighbour(letters);
    for (int i = 0; i < cell.row; ++i)
        letters = SouthNeighbour(letters);
    for (int i = 0; i > cell.row; --i)
        letters = NorthNeighbour(letters);
    return letters;
}

bool CellOnWorld(const QString& anchorLetters, BlockCell cell) {
    const std::optional<TileKey> anchor = TileKey::FromLetters(anchorLetters.toStdString());
    if (!anchor)
        return true;
    const std::int64_t row = std::int64_t{anchor->row} + cell.row;
    return row >= 0 && row < (std::int64_t{1} << anchor->level);
}

std::optional<GeoRegion> BlockRegion(const QString& anchorLetters, BlockSize size) {
    const std::optional<TileKey> anchor = TileKey::FromLetters(anchorLetters.toStdString());
    if (!anchor)
        return std::nullopt;
    const int level = anchor->level;
    const std::int64_t side = std::int64_t{1} << level;
    const auto columns = std::min<std::int64_t>(size.columns, side);
    const auto rows = std::min<std::int64_t>(size.rows, side - anchor->row);
    // A hair inside the block's edges, so that the tiles beyond them, which only touch the
    // box, are not taken for part of it.
    constexpr double kInside = 1e-6; // of a tile
    const double north = RowEdgeLatitude(level, anchor->row + kInside);
    const double south = RowEdgeLatitude(level, double(anchor->row + rows) - kInside);
    if (columns == side)
        return GeoRegion::Box(-180, south, 180, north);
    const double west = ColumnEdgeLongitude(level, anchor->column + kInside);
    double east = ColumnEdgeLongitude(level, double(anchor->column + columns) - kInside);
    if (east > 180)
        east -= 360; // across the 180th meridian
    return GeoRegion::Box(west, south, east, north);
}

QPoint PointOnWorld(QPoint place, const std::optional<TileKey>& anchor) {
    if (!anchor)
        return place;
    // However many copies of the world the block shows, the point falls on the first.
    const std::int64_t world = (std::int64_t{1} << anchor->level) * kTileSide;
    const std::int64_t start = std::int64_t{anchor->column} * kTileSide;
    const std::int64_t onWorld = ((start + place.x()) % world + world) % world;
    return {static_cast<int>(onWorld - start), place.y()};
}
