#pragma once
// A tile is held as its whole request text: the source prefix followed by its quadrant
// letters. The prefix length comes from the settings file and may be out of range, so
// every accessor clamps it to 0..length instead of trusting it.
#include "tiles/tile_key.h"

#include <QString>
#include <QStringView>
#include <optional>

// The prefix length clamped to 0..ref.size(): the number of characters that are prefix.
int ClampedPrefixLength(QStringView ref, int prefixLength);

// The quadrant letters after the prefix (empty when there are none).
QString QuadPathOf(const QString& ref, int prefixLength);

// The number of characters after the prefix: the tile's zoom level.
int LevelOf(const QString& ref, int prefixLength);

// The first prefixLength characters (all of them when the text is shorter).
QString PrefixOf(const QString& ref, int prefixLength);

// True for a non-empty text of the letters q, r, s and t only.
bool IsQuadPath(QStringView path);

// The key of a quad path: nothing when the text is not one or is deeper than kMaxTileLevel.
std::optional<TileKey> KeyOfQuadPath(QStringView path);
QString QuadPathOf(const TileKey& key);
