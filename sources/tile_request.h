// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a tile is asked for and where its copy lives on disk: one flat directory, one file per
// tile named after its quadrant letters.
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
