// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping a tile's file in the disk cache (where it lives is its TileRequest's cacheFile).
#include "os/atomic_file.h"

#include <QByteArray>
#include <QString>

// No tile comes near this (a 256 x 256 JPEG at the best quality is about 100 KiB); a larger
// file of a tile's name is refused unread, whatever put it there, and a larger reply is no
// tile either.
inline constexpr qint64 kLargestTileFile = 4 * 1024 * 1024;

// Writes bytes as the file at path, replacing any old file only once the new one is
// complete; a symbolic link of that name is replaced, never followed. Never creates the
// directory. False when anything failed (a full disk included); the old file then stays.
bool StoreTileFile(const QString& path, const QByteArray& bytes);

// The same in two steps, so that the new file can be made while the tile is still on its way
// (making a file costs more than writing a tile into it on some file systems): Prepare makes
// it, Store writes the bytes and puts them in place. A file prepared and never stored leaves
// nothing behind.
class CachedTileWriter {
public:
    explicit CachedTileWriter(const QString& path) : file_(path) {}

    void Prepare();
    // Prepares the file first if that is still to do; false when anything failed, then or now.
    bool Store(const QByteArray& bytes);

private:
    AtomicFile file_;
    bool prepared_ = false;
    bool opened_ = false;
};
