// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tile_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

TileImage::TileImage(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSize, kSize);
    setMouseTracking(true);
    // Every pixel is painted below, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TileImage::setPixmap(const QPixmap& pixmap) {
    pixmap_ = pixmap;
    if (!shownPart_.isEmpty())
        update(shownPart_);
}

void TileImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Before the first tile arrives, and beside a tile smaller than the widget, the window's
    // background shows as it would behind a label.
    if (pixmap_.size() != size())
        painter.fillRect(event->rect(), palette().window());
    if (!pixmap_.isNull())
        painter.drawPixmap(0, 0, pixmap_);
}

void TileImage::mousePressEvent(QMouseEvent* event) {
    emit Pressed(event->button(), event->position().toPoint());
}

void TileImage::mouseReleaseEvent(QMouseEvent* event) {
    emit Released(event->button(), event->position().toPoint());
}

void TileImage::mouseMoveEvent(QMouseEvent* event) {
    emit Moved(event->position().toPoint());
}

void TileImage::wheelEvent(QWheelEvent* event) {
    constexpr int kStep = 120; // eighths of a degree in one notch of a mouse wheel
    wheelEighths_ += event->angleDelta().y();
    const int steps = wheelEighths_ / kStep;
    wheelEighths_ -= steps * kStep;
    if (steps != 0)
        emit Wheeled(steps, event->position().toPoint());
    event->accept();
}
