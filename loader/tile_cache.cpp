// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_cache.h"

#include "os/atomic_file.h"

bool StoreTileFile(const QString& path, const QByteArray& bytes) {
    // A tile can always be fetched again: it needs to be whole, not to survive a power cut,
    // and skipping the sync makes filling the cache several times faster.
    return WriteFileAtomically(path, bytes, AtomicFile::Durability::Unsynced);
}
