// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much of a tile's subtree the cache holds at a deeper level: none of it, part or all.
// The cache is one flat folder of files named after the tiles' quadrant letters, so the tiles
// under a tile at a given level are the names that start with its letters and are that long:
// a sorted listing per length counts them with two binary searches, whatever the depth, with
// no file asked about one by one.
#include "sources/tile_source.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

enum class CoverageShare { None, Part, All };

class CachedLetters {
public:
    CachedLetters() = default;
    // The quadrant letters of the names "<letters><suffix>"; other names are left out.
    CachedLetters(const QStringList& names, const QString& suffix);
    // The cache folder of source, listed once: the folder and the suffix of its files are
    // those of the source's own request for the tile named by anyLetters.
    static CachedLetters OfSource(const TileSource& source, const QString& anyLetters);

    // The cached tiles at level letters.size() + depth below the tile of letters.
    std::uint64_t CountUnder(const QString& letters, int depth) const;
    // The share of the tiles at that level cached. At a level above the tile's own, whether
    // the tile's ancestor there is cached: the tile's whole area is that one file.
    CoverageShare ShareAt(const QString& letters, int level) const;

private:
    std::map<qsizetype, std::vector<QString>> byLength_; // each sorted
};
