// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grey stand-in drawn where a tile could not be shown.
#include "image/tile_pixels.h"

#include <QString>

// A 256 by 256 RGB888 tile, light grey, with firstLine centred around (128, 108) and
// secondLine around (128, 148) in black, in the application's default font at 8 points; without
// a GUI application, which text takes, or without the text plugin, only the grey.
TilePixels PlaceholderTile(const QString& firstLine, const QString& secondLine);

// The second line of every placeholder: the tile's quadrant letters between dashes.
inline QString QuadPathLine(const QString& quadPath) {
    return QStringLiteral("-") + quadPath + QStringLiteral("-");
}
