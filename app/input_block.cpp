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
    if (!IsUserInput(event->type()) || !watched->isWidgetType())
        return false;
    // Other windows (a dialog of a job, say) keep their input.
    const auto* widget = static_cast<QWidget*>(watched);
    return widget->window() == &window_ && !(passes_ && passes_(*widget));
}
