#pragma once
// The favourites file Favorites.dat: one entry line per item of the favourites box, in order.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

inline constexpr QStringView kFavoritesFileName = u"Favorites.dat";
// The box's text after start-up, and after the last entry has been deleted.
inline constexpr QStringView kNewFavoriteName = u"---Новое Имя---";
inline constexpr QStringView kNoFavoritesLeft = u"---Новое имя---";
// The list the box starts with; it stays when the file cannot be read.
inline constexpr QStringView kDesignTimeFavorite = u"____________________ N E";

// Every line is an item, empty and short ones too; nothing when the file cannot be read.
std::optional<QStringList> LoadFavorites(const QString& path);
// Replaces the file; false when it could not be written (the old file stays).
bool SaveFavorites(const QString& path, const QStringList& lines);
