// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The view as a block of tiles that fills the map area of the window: its size, the order in
// which its tiles are fetched, and how a drag in pixels becomes a move in whole tiles. The top-
// left 2 by 2 of the block are the four tiles of the view; the rest follow from its anchor.
#include "tiles/geo_region.h"
#include "tiles/tile_key.h"
#include "tiles/tile_side.h"

#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

struct BlockSize {
    int columns = 2;
    int rows = 2;
    friend bool operator==(const BlockSize&, const BlockSize&) = default;
};

// A cell of the block: columns east and rows south of the anchor.
struct BlockCell {
    int column = 0;
    int row = 0;
    friend bool operator==(const BlockCell&, const BlockCell&) = default;
};

// Enough tiles to cover an area of width by height pixels, never fewer than the 2 by 2 view.
BlockSize BlockSizeFor(int width, int height);

// Every cell of the block in the order its tiles are fetched: the four of the view in slot
// order (top-left, top-right, bottom-right, bottom-left), then the others ring by ring
// outwards from them, each ring row by row.
std::vector<BlockCell> BlockFetchOrder(BlockSize size);

// The cells one tile outside the block, read ahead once it is loaded: clockwise from the
// corner north-west of the anchor, so that the row above comes first.
std::vector<BlockCell> RingAround(BlockSize size);

// The letters of the ring's tiles with the anchor at anchorLetters, in the ring's order: at
// the levels where the world is a few tiles wide the ring comes round onto the block or onto
// itself, so each tile once, none of the block's, and none beyond the poles.
std::vector<QString> RingLetters(const QString& anchorLetters, BlockSize size);

// The view slot (0..3) of a cell, or -1 for a cell outside the 2 by 2 view.
int ViewSlotOf(BlockCell cell);

// Whole tiles the anchor moves by after a drag of dx, dy pixels: the picture follows the
// pointer, so dragging west by more than half a tile shows the tiles east of it.
BlockCell DragShift(int dx, int dy);

// The quadrant letters of the tile cell.column east and cell.row south of the tile named by
// letters (negative: west, north), wrapping round the world as the pad's moves do.
QString ShiftedLetters(QString letters, BlockCell cell);

// A point of the block in pixels from the anchor's north-west corner, taken as many worlds
// west as it lies past the world's east edge, where the block shows the west again: what it
// reads out stays within 180 degrees. As it is without an anchor.
QPoint PointOnWorld(QPoint place, const std::optional<TileKey>& anchor);

// Whether the cell lies on the world: east and west it always does, the world repeating, but
// rows beyond the poles hold no tile. True for an anchor deeper than a tile key reaches.
bool CellOnWorld(const QString& anchorLetters, BlockCell cell);

// The ground a block of size shows with its anchor at anchorLetters, as a box in degrees: the
// region its prefill and export cover. Rows stop at the south edge of the world (the block
// shows the north again below it); a block as wide as the world takes every longitude.
// Nothing for an anchor deeper than a tile key reaches.
std::optional<GeoRegion> BlockRegion(const QString& anchorLetters, BlockSize size);
