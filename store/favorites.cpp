// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/favorites.h"

#include "store/cp1251_lines.h"

#include <utility>

FavoritesFile LoadFavorites(const QString& path) {
    Cp1251Lines file = ReadCp1251Lines(path, kMaxFavoritesBytes, kMaxFavorites);
    switch (file.outcome) {
    case Cp1251Lines::Outcome::Read:
        return {FavoritesFile::State::Loaded, std::move(file.lines)};
    case Cp1251Lines::Outcome::Missing:
        return {FavoritesFile::State::Missing, {}};
    case Cp1251Lines::Outcome::Unreadable:
    case Cp1251Lines::Outcome::TooLarge:
        break;
    }
    return {FavoritesFile::State::Refused, {}};
}

bool SaveFavorites(const QString& path, const QStringList& lines) {
    return WriteCp1251Lines(path, lines);
}
