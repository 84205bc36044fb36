#include "store/favorites.h"

#include "store/cp1251_lines.h"

std::optional<QStringList> LoadFavorites(const QString& path) {
    return ReadCp1251Lines(path);
}

bool SaveFavorites(const QString& path, const QStringList& lines) {
    return WriteCp1251Lines(path, lines);
}
