#pragma once
// Row and column of a tile in the grid of its level, and back. Rows count from 0 at the
// north edge downwards, columns from 0 at the west edge eastwards; each quadrant letter
// contributes one row bit and one column bit, the coarsest letter the most significant.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

struct TileCell {
    std::int64_t row = 0;
    std::int64_t column = 0;
    friend bool operator==(const TileCell&, const TileCell&) = default;
};

// The deepest level whose row and column still fit the 64-bit cell.
inline constexpr int kMaxCellLevel = 62;

// The cell of a quadrant path; nothing for a text that is not a quad path or is deeper
// than kMaxCellLevel.
std::optional<TileCell> CellOfPath(QStringView quadPath);

// The quad path of a cell at the given level (1..kMaxCellLevel); row and column are taken
// modulo the grid size so that any cell names a tile. Empty for a level out of range.
QString PathOfCell(int level, TileCell cell);
