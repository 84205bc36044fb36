// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rx_slider.h"

#include "tiles/view_moves.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

RxSlider::RxSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(kSliderMinLevel, kSliderMaxLevel);
    setSingleStep(1);
    setPageStep(1);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QSlider::valueChanged, this, &RxSlider::Change);
    repeat_.setInterval(kRepeatMs);
    connect(&repeat_, &QTimer::timeout, this, &RxSlider::StepTowardsPointer);
}

bool RxSlider::OnHandle(const QPoint& pos) const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->hitTestComplexControl(QStyle::CC_Slider, &opt, pos, this) ==
           QStyle::SC_SliderHandle;
}

int RxSlider::ValueAt(const QPoint& pos) const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const int x = pos.x() - groove.x() - handle.width() / 2;
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x, span, opt.upsideDown);
}

void RxSlider::StepTowardsPointer() {
    const int target = ValueAt(pressPos_);
    if (target > value())
        setValue(value() + 1);
    else if (target < value())
        setValue(value() - 1);
}

void RxSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressActive_ = true;
    if (OnHandle(event->position().toPoint())) {
        QSlider::mousePressEvent(event); // dragging the thumb
        return;
    }
    setFocus(Qt::MouseFocusReason);
    pressPos_ = event->position().toPoint();
    StepTowardsPointer();
    repeat_.start();
    event->accept();
}

void RxSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressActive_) {
        event->ignore();
        return;
    }
    pressActive_ = false;
    const bool wasRepeating = repeat_.isActive();
    repeat_.stop();
    if (!wasRepeating)
        QSlider::mouseReleaseEvent(event);
    emit Changed(value());
}

void RxSlider::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        setValue(value() - 1);
        break;
    case Qt::Key_Right:
        setValue(value() + 1);
        break;
    case Qt::Key_Home:
        setValue(minimum());
        break;
    case Qt::Key_End:
        setValue(maximum());
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
    emit Changed(value());
}

void RxSlider::wheelEvent(QWheelEvent* event) {
    event->ignore();
}
