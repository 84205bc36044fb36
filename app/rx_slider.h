// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom slider. Unlike a plain QSlider it tells apart a value that is still
// changing (Change) from a change the user has finished (Changed): the view is
// reloaded only on Changed, so dragging the thumb across ten levels loads one view.
#include <QSlider>
#include <QTimer>

class RxSlider : public QSlider {
    Q_OBJECT
public:
    static constexpr int kRepeatMs = 400;

    explicit RxSlider(QWidget* parent = nullptr);

signals:
    void Change(int value);  // every change of the value, from code or from the user
    void Changed(int value); // the user ended a change (release or key), even with no new value

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The wheel would change the value without ever ending the change: the view would not
    // follow. Zooming is by the thumb, the ruler and the keys.
    void wheelEvent(QWheelEvent* event) override;

private:
    void StepTowardsPointer();
    bool OnHandle(const QPoint& pos) const;
    int ValueAt(const QPoint& pos) const;

    QTimer repeat_;
    QPoint pressPos_;
    bool pressActive_ = false;
};
