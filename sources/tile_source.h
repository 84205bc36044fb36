// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a tile is asked for and where its copy is kept on disk. The view holds its tiles as
// request texts at any depth, deeper than a TileKey reaches, so a source reads those texts
// too.
#include "sources/tile_request.h"
#include "tiles/tile_key.h"
#include "tiles/view_moves.h"
#include "tiles/view_urls.h"

#include <QString>
#include <memory>

class TileSource {
public:
    virtual ~TileSource() = default;
    virtual QString RequestOf(const TileKey& key) const = 0;
    // Empty for the level-0 world, which is never kept.
    virtual QString CachePathOf(const TileKey& key) const = 0;
    // The request text of the tile named by quadrant letters, at any depth.
    virtual QString RequestOfLetters(const QString& letters) const = 0;
    // The request, the quadrant letters and the cache file of a tile held as its request text.
    virtual TileRequest RequestFor(const QString& ref) const = 0;
    // The request, the quadrant letters and the cache file of a tile named by its key.
    virtual TileRequest RequestForKey(const TileKey& key) const {
        return RequestFor(RequestOf(key));
    }
};

// A request is the source's prefix followed by the tile's quadrant letters; the cache is one
// flat directory of files named after the letters.
class PrefixTileSource final : public TileSource {
public:
    // cacheRoot ends with a directory separator.
    PrefixTileSource(QString prefix, QString cacheRoot)
        : prefix_(std::move(prefix)), cacheRoot_(std::move(cacheRoot)) {}

    QString RequestOf(const TileKey& key) const override;
    QString CachePathOf(const TileKey& key) const override;
    QString RequestOfLetters(const QString& letters) const override { return prefix_ + letters; }
    TileRequest RequestFor(const QString& ref) const override;

private:
    QString prefix_;
    QString cacheRoot_;
};

// A reference taken apart: the request prefix and the quadrant letters after it.
struct RefParts {
    QString prefix;
    QString letters;
};

// The first prefixLength characters are the prefix. The length comes from the settings file
// and may be out of range, so it is clamped to 0..ref.size() instead of trusted.
RefParts SplitRef(const QString& ref, int prefixLength);

// The view's four references taken apart at the prefix length, for moving the view by its
// letters, and put back together. Each reference keeps its own prefix, so a rebuilt tile goes
// back on the prefix of the tile it was derived from.
class ViewRefs {
public:
    ViewRefs(const ViewUrls& refs, int prefixLength);

    const ViewLetters& Letters() const { return letters_; }
    // The anchor's: the view's zoom level.
    int Level() const { return static_cast<int>(letters_[0].size()); }
    // The anchor's prefix.
    const QString& Prefix() const { return prefixes_[0]; }

    // Each slot on its own prefix.
    ViewUrls Rebuilt(const ViewLetters& letters) const;
    // Each slot on the prefix of the slot it was derived from.
    ViewUrls Rebuilt(const ViewMove& move) const;
    QString RefOf(int fromSlot, const QString& letters) const {
        return prefixes_[static_cast<std::size_t>(fromSlot)] + letters;
    }
    // The same tiles on another prefix. File names depend on the quadrant letters alone, so the
    // cache still serves the same files.
    ViewUrls OnPrefix(const QString& prefix) const;

    // The source whose requests are the anchor's prefix followed by the letters.
    std::shared_ptr<const TileSource> Source(const QString& cacheRoot) const;

private:
    ViewUrls prefixes_;
    ViewLetters letters_;
};
