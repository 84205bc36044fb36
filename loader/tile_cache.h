#pragma once
// Keeping a tile's file in the disk cache (where it lives is its TileRequest's cacheFile).
#include <QByteArray>
#include <QString>

// Writes bytes as the file at path, replacing any old file only once the new one is
// complete; a symbolic link of that name is replaced, never followed. Never creates the
// directory. False when anything failed (a full disk included); the old file then stays.
bool StoreTileFile(const QString& path, const QByteArray& bytes);
