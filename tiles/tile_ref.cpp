#include "tiles/tile_ref.h"

#include <algorithm>

int ClampedPrefixLength(QStringView ref, int prefixLength) {
    return static_cast<int>(std::clamp<qsizetype>(prefixLength, 0, ref.size()));
}

QString QuadPathOf(const QString& ref, int prefixLength) {
    return ref.mid(ClampedPrefixLength(ref, prefixLength));
}

int LevelOf(const QString& ref, int prefixLength) {
    return static_cast<int>(ref.size()) - ClampedPrefixLength(ref, prefixLength);
}

QString PrefixOf(const QString& ref, int prefixLength) {
    return ref.left(ClampedPrefixLength(ref, prefixLength));
}

bool IsQuadPath(QStringView path) {
    if (path.isEmpty())
        return false;
    return std::all_of(path.begin(), path.end(),
                       [](QChar c) { return c.unicode() < 128 && IsQuadLetter(c.toLatin1()); });
}

std::optional<TileKey> KeyOfQuadPath(QStringView path) {
    if (!IsQuadPath(path))
        return std::nullopt;
    return TileKey::FromLetters(path.toLatin1().toStdString());
}

QString QuadPathOf(const TileKey& key) {
    return QString::fromStdString(key.Letters());
}
