// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/input_block.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

bool InputTo(const QWidget& window, QObject* watched, QEvent* event) {
    return IsUserInput(event->type()) && watched->isWidgetType() &&
           static_cast<QWidget*>(watched)->window() == &window;
}

} // namespace

InputBlock::InputBlock(const QWidget& window) : InputBlock(window, nullptr) {}

InputBlock::InputBlock(const QWidget& window, std::function<bool(const QWidget&)> passes)
    : window_(window), passes_(std::move(passes)) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlock::~InputBlock() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    // Other windows (a dialog of a job, say) keep their input.
    return InputTo(window_, watched, event) &&
           !(passes_ && passes_(*static_cast<QWidget*>(watched)));
}

InputWatch::InputWatch(const QWidget& window, std::function<void()> onInput)
    : window_(window), onInput_(std::move(onInput)) {}

InputWatch::~InputWatch() {
    Watch(false);
}

void InputWatch::Watch(bool on) {
    if (on == watching_)
        return;
    watching_ = on;
    if (on)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool InputWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watching_ && InputTo(window_, watched, event)) {
        Watch(false); // safe from inside the filter
        onInput_();
    }
    return false;
}
