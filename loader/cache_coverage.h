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
#include <optional>
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
    // Where source keeps its tiles: the folder, and what follows the letters in a file's name.
    // Nothing for a cache named otherwise than by the letters, where nothing is counted.
    struct Naming {
        QString folder;
        QString suffix;
        friend bool operator==(const Naming&, const Naming&) = default;
    };
    static std::optional<Naming> NamingOf(const TileSource& source, const QString& anyLetters);
    // The folder of naming, listed once.
    static CachedLetters OfFolder(const Naming& naming);

    // The cached tiles at level letters.size() + depth below the tile of letters.
    std::uint64_t CountUnder(const QString& letters, int depth) const;
    // The share of the tiles at that level cached. At a level above the tile's own, whether
    // the tile's ancestor there is cached: the tile's whole area is that one file.
    CoverageShare ShareAt(const QString& letters, int level) const;

private:
    std::map<qsizetype, std::vector<QString>> byLength_; // each sorted
};

// A cache folder's letters kept from one count to the next, and listed again only once a file
// was written into the folder or taken out of it (which changes the folder's modification
// time), or another folder is asked about: a folder of a million tiles is then listed once
// while the person looks around, not on every move, and the counts stay exact.
class CoverageListing {
public:
    // As CachedLetters::OfSource.
    const CachedLetters& Of(const TileSource& source, const QString& anyLetters);

private:
    // What tells the folder's contents changed: the folder itself and when it was last changed.
    struct Stamp {
        std::uint64_t device = 0, inode = 0;
        std::int64_t seconds = 0, nanoseconds = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    static std::optional<Stamp> StampOf(const QString& folder);

    std::optional<CachedLetters::Naming> naming_;
    std::optional<Stamp> stamp_; // none: listed while the folder was still changing
    CachedLetters letters_;
};
