// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stitching job's arithmetic: the size fields, the estimate beside them and the order
// in which the rectangle's tiles are fetched.
#include "loader/read_ahead.h"
#include "sources/tile_source.h"
#include "tiles/tile_block.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>

// A picture side in tiles as read from its field when the job starts: the decimal integer,
// or 2 for any other text. Negative and oversized values come through as they are (the
// size check refuses them).
int StitchSideFromText(QStringView text);

// The memory and download estimate shown beside the size fields.
struct StitchEstimate {
    QString memoryText;   // "Память: 4,6875 мб"
    QString downloadText; // "скачать~ 0,234375 мб"
    bool canStart = false;
};

// Reads both fields with -1 for a text that is not an integer, so that two non-numbers give
// a positive estimate, as does any pair of negative numbers. Three bytes a pixel, held in
// single precision; the download is guessed at a twentieth of that.
StitchEstimate EstimateStitch(QStringView widthText, QStringView heightText);

// One tile of the rectangle: its column and row from 0 and the top-left corner of its
// square in the picture.
struct StitchTile {
    int column = 0;
    int row = 0;
    int x = 0;
    int y = 0;
    QString letters; // the tile's quadrant letters
};

struct StitchPlan {
    QList<StitchTile> tiles;
    QString southEastLetters; // the tile at the last column and row
};

// The tiles of a rectangle of columns by rows tiles whose north-west tile has the anchor's
// quadrant letters,
// column by column from west to east and each column from north to south. The neighbour
// steps wrap around the world, so a rectangle that runs past an edge goes on from the
// opposite one. Empty for a size the size check refuses (a side below 1 or above 255).
StitchPlan PlanStitch(const QString& anchorLetters, int columns, int rows);

// The plan's tiles in its order, as requests of source: what a client reads ahead while the
// stitching goes on.
UpcomingTiles StitchTiles(std::shared_ptr<const TileSource> source, StitchPlan plan);

// The block's tiles row by row from the north and each row from the west, as requests of
// source: the order a picture written one row of tiles at a time takes them in, for the
// read-ahead and the loop alike.
UpcomingTiles BlockRowsTiles(std::shared_ptr<const TileSource> source, TileBlock block);
