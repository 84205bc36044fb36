// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/marker_image.h"

#include <QPainter>
#include <QPixmap>

namespace {
QPixmap MarkerPixmap() {
    QPixmap pixmap(MarkerImage::kSize, MarkerImage::kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 255));
    p.drawEllipse(QRect(0, 0, 19, 19));
    p.setPen(QColor(0, 0, 128));
    const int c = MarkerImage::kCentre;
    p.drawLine(c - 3, c, c + 3, c); // a 7-pixel bar across the middle row
    return pixmap;
}
} // namespace

MarkerImage::MarkerImage(QWidget* parent) : QLabel(parent) {
    setFixedSize(kSize, kSize);
    setPixmap(MarkerPixmap());
    setAttribute(Qt::WA_TransparentForMouseEvents); // clicks reach the tile below
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}
