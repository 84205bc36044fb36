#pragma once
// Where a tile lives on disk: one flat directory, one file per tile named after
// its quadrant letters.
#include <QByteArray>
#include <QString>
#include <optional>

struct TileRequest {
    QString url;      // the whole request text: source prefix + quadrant letters
    QString quadPath; // the characters after the source prefix
    // Absent when quadPath is not made of q, r, s and t alone: such a tile must never
    // touch the disk, since its name could point outside the cache directory.
    std::optional<QString> cacheFile;
};

// The request prefix + quadPath; cacheRoot must end with a directory separator.
TileRequest MakeTileRequest(const QString& cacheRoot, const QString& prefix,
                            const QString& quadPath);

// Writes bytes as the file at path, replacing any old file only once the new one is
// complete; a symbolic link of that name is replaced, never followed. Never creates the
// directory. False when anything failed (a full disk included); the old file then stays.
bool StoreTileFile(const QString& path, const QByteArray& bytes);
