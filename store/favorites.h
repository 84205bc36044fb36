// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The favourites file Favorites.dat: one entry line per item of the favourites box, in order.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

inline constexpr QStringView kFavoritesFileName = u"Favorites.dat";
// The list the box starts with; it stays when the file cannot be read.
inline constexpr QStringView kDesignTimeFavorite = u"____________________ N E";

// Bounds on a file worth reading: far beyond any list kept by hand (a line is 57 bytes), yet
// small enough that a damaged or foreign file cannot stall the start or exhaust memory.
inline constexpr qint64 kMaxFavoritesBytes = 16 * 1024 * 1024;
inline constexpr qsizetype kMaxFavorites = 100'000;

struct FavoritesFile {
    enum class State {
        Loaded,
        // No such file: the list starts as designed and is written with the first change.
        Missing,
        // A file exists but is beyond the bounds or cannot be read. It must then never be
        // rewritten during the run, or everything in it would be lost.
        Refused,
    };
    State state = State::Missing;
    QStringList items; // every line is an item, empty and short ones too; empty unless Loaded
};

FavoritesFile LoadFavorites(const QString& path);
// Replaces the file; false when it could not be written (the old file stays).
bool SaveFavorites(const QString& path, const QStringList& lines);
