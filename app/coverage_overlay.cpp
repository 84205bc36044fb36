// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/coverage_overlay.h"

#include "tiles/tile_side.h"

#include <QPainter>

CoverageOverlay::CoverageOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

QColor CoverageOverlay::Tint(CoverageShare share) {
    switch (share) {
    case CoverageShare::None:
        return {220, 30, 30, 70};
    case CoverageShare::Part:
        return {250, 200, 0, 90};
    case CoverageShare::All:
        return {30, 180, 60, 80};
    }
    return {};
}

void CoverageOverlay::Show(std::vector<CellShare> cells) {
    cells_ = std::move(cells);
    update();
}

void CoverageOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const auto& [cell, share] : cells_)
        painter.fillRect(cell.column * kTileSide, cell.row * kTileSide, kTileSide, kTileSide,
                         Tint(share));
}
