#include "fetch/tile_source.h"

#include "tiles/tile_ref.h"

QString PrefixTileSource::RequestOf(const TileKey& key) const {
    return RequestOfLetters(QuadPathOf(key));
}

QString PrefixTileSource::CachePathOf(const TileKey& key) const {
    return RequestFor(RequestOf(key)).cacheFile.value_or(QString());
}

TileRequest PrefixTileSource::RequestFor(const QString& ref) const {
    return MakeTileRequest(cacheRoot_, ref, static_cast<int>(prefix_.size()));
}

std::shared_ptr<const TileSource> SourceOfView(const QString& anyRef, int prefixLength,
                                               const QString& cacheRoot) {
    return std::make_shared<PrefixTileSource>(PrefixOf(anyRef, prefixLength), cacheRoot);
}
