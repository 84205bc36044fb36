#pragma once
// Where a tile is asked for and where its copy is kept on disk. The view holds its tiles as
// request texts at any depth, deeper than a TileKey reaches, so a source reads those texts
// too.
#include "fetch/tile_cache.h"
#include "tiles/tile_key.h"

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

// The source of a view whose tiles are prefixLength characters of prefix, then their letters.
std::shared_ptr<const TileSource> SourceOfView(const QString& anyRef, int prefixLength,
                                               const QString& cacheRoot);
