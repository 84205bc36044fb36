#include "app/tile_image.h"

#include <QMouseEvent>

TileImage::TileImage(QWidget* parent) : QLabel(parent) {
    setFixedSize(kSize, kSize);
    setMouseTracking(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
