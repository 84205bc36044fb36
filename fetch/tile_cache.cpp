#include "fetch/tile_cache.h"

#include "files/atomic_file.h"
#include "tiles/tile_ref.h"

TileRequest MakeTileRequest(const QString& cacheRoot, const QString& prefix,
                            const QString& quadPath) {
    TileRequest request{prefix + quadPath, quadPath, std::nullopt};
    if (IsQuadPath(request.quadPath))
        request.cacheFile = cacheRoot + request.quadPath + QStringLiteral(".jpg");
    return request;
}

bool StoreTileFile(const QString& path, const QByteArray& bytes) {
    // A tile can always be fetched again: it needs to be whole, not to survive a power cut,
    // and skipping the sync makes filling the cache several times faster.
    return WriteFileAtomically(path, bytes, AtomicFile::Durability::Unsynced);
}
