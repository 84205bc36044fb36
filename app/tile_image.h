#pragma once
// One 256 by 256 tile of the mosaic. It reports raw mouse events; which of them
// zooms (press on the upper row, release on the lower) is the window's decision.
#include <QLabel>

class TileImage : public QLabel {
    Q_OBJECT
public:
    static constexpr int kSize = 256;
    explicit TileImage(QWidget* parent = nullptr);

signals:
    void Pressed(Qt::MouseButton button, QPoint pos);
    void Released(Qt::MouseButton button, QPoint pos);
    void Moved(QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
