// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graticule_overlay.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

std::vector<QRect> GraticuleLabelBoxes(const std::vector<GraticuleLine>& lines,
                                       const QFontMetrics& metrics) {
    std::vector<QRect> boxes;
    for (const GraticuleLine& l : lines) {
        QRect box = metrics.boundingRect(l.label).adjusted(-2, 0, 2, 0);
        box.moveTopLeft(l.meridian ? QPoint(int(l.pixel) + 3, 3) : QPoint(3, int(l.pixel) + 3));
        const bool free = std::none_of(boxes.begin(), boxes.end(), [&box](const QRect& placed) {
            return placed.intersects(box);
        });
        boxes.push_back(free ? box : QRect());
    }
    return boxes;
}

GraticuleOverlay::GraticuleOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void GraticuleOverlay::Measure(const TileKey& anchor) {
    lines_ = GraticuleLines(anchor, width(), height());
    labelBoxes_ = GraticuleLabelBoxes(lines_, QFontMetrics(font()));
    const std::int64_t rowsBelow = (std::int64_t{1} << anchor.level) - anchor.row;
    worldBottom_ = int(std::min<std::int64_t>(rowsBelow * kTileSide, height()));
    update();
}

void GraticuleOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(0, 0, width(), worldBottom_); // no lines beyond the south pole
    // A light line with a dark edge shows over both snow and sea.
    const QPen halo(QColor(0, 0, 0, 110), 3);
    const QPen line(QColor(255, 255, 255, 200), 1);
    for (const QPen& pen : {halo, line}) {
        painter.setPen(pen);
        for (const GraticuleLine& l : lines_)
            if (l.meridian)
                painter.drawLine(QPointF(l.pixel, 0), QPointF(l.pixel, height()));
            else
                painter.drawLine(QPointF(0, l.pixel), QPointF(width(), l.pixel));
    }
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < lines_.size() && i < labelBoxes_.size(); ++i) {
        const QRect& box = labelBoxes_[i];
        if (box.isEmpty())
            continue;
        painter.fillRect(box, QColor(255, 255, 255, 190));
        painter.drawText(box, Qt::AlignCenter, lines_[i].label);
    }
}
