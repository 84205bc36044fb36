// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One 256 by 256 tile of the mosaic. It reports raw mouse events; which of them
// zooms (press on the upper row, release on the lower) is the window's decision.
// A tile is a picture, not a control: it shows in its own colours whether or not the
// window takes input, so it paints its pixmap itself instead of through the style, which
// would grey it (and build a greyed copy on every paint) while the window is disabled.
#include "tiles/tile_side.h"

#include <QPixmap>
#include <QWidget>

class TileImage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = kTileSide;
    explicit TileImage(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& pixmap);
    QPixmap pixmap() const { return pixmap_; }
    // The part of the tile the map shows, in its own coordinates: a new picture repaints that
    // part alone, so that the tabs over the rest are not painted again with it.
    void SetShownPart(const QRect& part) { shownPart_ = part; }

signals:
    void Pressed(Qt::MouseButton button, QPoint pos);
    void Released(Qt::MouseButton button, QPoint pos);
    void Moved(QPoint pos);
    // Whole steps of the wheel, positive away from the user.
    void Wheeled(int steps, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPixmap pixmap_;
    QRect shownPart_{0, 0, kSize, kSize};
    int wheelEighths_ = 0; // a touchpad's small deltas add up to whole steps
};
