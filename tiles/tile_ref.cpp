// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_ref.h"

#include <algorithm>

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
