// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_plan.h"

#include "batch/jobs/stitch_size.h"
#include "tiles/decimal_text.h"
#include "tiles/neighbours.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>

int StitchSideFromText(QStringView text) {
    return ParseIntOr(text, 2);
}

StitchEstimate EstimateStitch(QStringView widthText, QStringView heightText) {
    const int columns = ParseIntOr(widthText, -1);
    const int rows = ParseIntOr(heightText, -1);
    // In double: the pixel count of two large fields overflows any 32-bit integer.
    const double pixels = (double{kTileSide} * columns) * (double{kTileSide} * rows);
    const float megabytes = static_cast<float>(pixels * 24 * 0.125 / 1024 / 1024);
    const double download = static_cast<double>(megabytes * 0.05L);
    return {QCoreApplication::translate("StitchEstimate", "Память: %1 мб")
                .arg(FormatGeneral(megabytes)),
            QCoreApplication::translate("StitchEstimate", "скачать~ %1 мб")
                .arg(FormatGeneral(download)),
            megabytes > 0};
}

StitchPlan PlanStitch(const QString& anchorLetters, int columns, int rows) {
    StitchPlan plan;
    if (StitchSizeRefusal(columns, rows, std::nullopt))
        return plan;
    plan.tiles.reserve(qsizetype{columns} * rows);
    QString columnTop = anchorLetters;
    for (int column = 0; column < columns; ++column) {
        QString current = columnTop;
        for (int row = 0; row < rows; ++row) {
            plan.tiles.append({column, row, kTileSide * column, kTileSide * row, current});
            if (row + 1 < rows)
                current = SouthNeighbour(current);
        }
        plan.southEastLetters = current;
        columnTop = EastNeighbour(columnTop);
    }
    return plan;
}

UpcomingTiles StitchTiles(std::shared_ptr<const TileSource> source, StitchPlan plan) {
    qsizetype next = 0;
    return [source = std::move(source), plan = std::move(plan),
            next]() mutable -> std::optional<TileRequest> {
        if (next >= plan.tiles.size())
            return std::nullopt;
        return source->Request(source->RefOf(plan.tiles[next++].letters));
    };
}

UpcomingTiles BlockRowsTiles(std::shared_ptr<const TileSource> source, TileBlock block) {
    std::int64_t next = 0;
    return [source = std::move(source), block, next]() mutable -> std::optional<TileRequest> {
        if (next >= block.columns * block.rows)
            return std::nullopt;
        const std::int64_t at = next++;
        return source->Request(CellInBlock(block, at % block.columns, at / block.columns));
    };
}
