// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a tile is asked for and where its copy is kept on disk. The view holds its tiles as
// request texts at any depth, deeper than a TileKey reaches, so a source reads those texts
// too.
#include "sources/tile_request.h"
#include "tiles/tile_key.h"
#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"
#include "tiles/view_urls.h"

#include <QString>
#include <memory>

// A tile is named to its source one of two ways: by its key, or as the view holds it, by its
// reference (the request prefix followed by quadrant letters at any depth). Either way the
// source answers with one TileRequest: the URL to ask and the file of the cached copy.
class TileSource {
public:
    // prefix: the part of the view's references before the letters.
    explicit TileSource(QString prefix) : prefix_(std::move(prefix)) {}
    virtual ~TileSource() = default;

    // The tile named by its key. The level-0 world has no cache file: it is never kept.
    TileRequest Request(const TileKey& key) const { return Request(RefOf(QuadPathOf(key))); }
    // The tile the view holds as ref, at any depth.
    virtual TileRequest Request(const QString& ref) const = 0;
    // The reference the view holds for the tile of these quadrant letters.
    QString RefOf(const QString& letters) const { return prefix_ + letters; }

protected:
    const QString& Prefix() const { return prefix_; }

private:
    QString prefix_;
};

// A request is the source's prefix followed by the tile's quadrant letters; the cache is one
// flat directory of files named after the letters.
class PrefixTileSource final : public TileSource {
public:
    // cacheRoot ends with a directory separator.
    PrefixTileSource(QString prefix, QString cacheRoot)
        : TileSource(std::move(prefix)), cacheRoot_(std::move(cacheRoot)) {}

    using TileSource::Request;
    TileRequest Request(const QString& ref) const override;

private:
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
