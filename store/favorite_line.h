// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One favourite place as a fixed-width line of 55 characters:
// columns 1-20 name, 22-23 zoom level, 25 latitude hemisphere, 26-39 latitude as typed,
// 41 longitude hemisphere, 42-55 longitude as typed; the other columns are blanks.
#include <QString>
#include <optional>

inline constexpr int kFavoriteLineLength = 55;
inline constexpr int kFavoriteNameLength = 20;

// Each field is padded with blanks to its width, and cut to it when longer, so that a field
// never pushes the ones after it out of their columns (an empty hemisphere, for instance,
// leaves its column blank instead of pulling the coordinate text into it).
QString FavoriteLine(const QString& name, const QString& zoomText, const QString& latHemisphere,
                     const QString& latitudeText, const QString& lonHemisphere,
                     const QString& longitudeText);

// What selecting an entry puts into the search fields.
struct FavoriteFields {
    int zoomIndex = 0;          // FCB item index: the level minus 1 (level 1 when unreadable)
    int latHemisphereIndex = 0; // SCB: 1 for "S", else 0
    int lonHemisphereIndex = 1; // DCB: 0 for "W", else 1
    QString latitudeText;       // trimmed, not checked: range checks belong to the search
    QString longitudeText;
};

// Nothing for a line too short to be an entry (54 characters or fewer).
std::optional<FavoriteFields> ParseFavoriteLine(const QString& line);
