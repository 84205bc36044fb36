#include "tiles/tile_grid.h"

#include "tiles/tile_ref.h"

std::optional<TileCell> CellOfPath(QStringView quadPath) {
    if (!IsQuadPath(quadPath) || quadPath.size() > kMaxCellLevel)
        return std::nullopt;
    TileCell cell;
    for (QChar letter : quadPath) {
        const bool south = letter == u's' || letter == u't';
        const bool east = letter == u'r' || letter == u's';
        cell.row = cell.row * 2 + (south ? 1 : 0);
        cell.column = cell.column * 2 + (east ? 1 : 0);
    }
    return cell;
}

QString PathOfCell(int level, TileCell cell) {
    if (level < 1 || level > kMaxCellLevel)
        return {};
    QString path(level, u'q');
    for (int i = 0; i < level; ++i) {
        const int shift = level - 1 - i;
        const bool south = ((cell.row >> shift) & 1) != 0;
        const bool east = ((cell.column >> shift) & 1) != 0;
        path[i] = south ? (east ? u's' : u't') : (east ? u'r' : u'q');
    }
    return path;
}
