// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_cache.h"

bool StoreTileFile(const QString& path, const QByteArray& bytes) {
    return CachedTileWriter(path).Store(bytes);
}

void CachedTileWriter::Prepare() {
    if (!prepared_)
        opened_ = file_.Open();
    prepared_ = true;
}

bool CachedTileWriter::Store(const QByteArray& bytes) {
    Prepare();
    // A tile can always be fetched again: it needs to be whole, not to survive a power cut,
    // and skipping the sync makes filling the cache several times faster.
    return opened_ && file_.Write(bytes) && file_.Commit(AtomicFile::Durability::Unsynced);
}
