// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each tile of the block tinted by how much of it the cache holds at a chosen level: none,
// part or all, in three translucent colours. It takes no mouse input and moves with the block.
#include "loader/cache_coverage.h"
#include "tiles/map_block.h"

#include <QColor>
#include <QWidget>
#include <utility>
#include <vector>

class CoverageOverlay : public QWidget {
public:
    explicit CoverageOverlay(QWidget* parent);

    // The tint of each share, for the legend and for whoever checks the picture.
    static QColor Tint(CoverageShare share);

    using CellShare = std::pair<BlockCell, CoverageShare>;
    void Show(std::vector<CellShare> cells);
    const std::vector<CellShare>& Cells() const { return cells_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<CellShare> cells_;
};
