// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tile named by its quadrant letters, as text: one letter per level below the world.
#include "tiles/tile_key.h"

#include <QString>
#include <QStringView>
#include <optional>

// True for a non-empty text of the letters q, r, s and t only.
bool IsQuadPath(QStringView path);

// The key of a quad path: nothing when the text is not one or is deeper than kMaxTileLevel.
std::optional<TileKey> KeyOfQuadPath(QStringView path);
QString QuadPathOf(const TileKey& key);
