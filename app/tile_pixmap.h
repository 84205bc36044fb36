// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tile's pixels as the window shows them: the loader's picture wrapped, not converted.
#include "image/tile_pixels.h"

#include <QImage>
#include <QPixmap>

// An image over tile's own bytes, which it keeps alive; a null image for a null tile.
QImage WrappedTileImage(const TilePixels& tile);

// The pixmap a tile label shows. An Xrgb32 tile is what a pixmap is made of, so nothing is
// converted or copied on the way.
QPixmap TilePixmap(const TilePixels& tile);
