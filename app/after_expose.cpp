// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/after_expose.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace {

// Watches one window for its first exposure, hands the action to the event loop and goes.
class ExposeWatcher : public QObject {
public:
    ExposeWatcher(QWindow* window, QObject* context, std::function<void()> action)
        : QObject(context), window_(window), action_(std::move(action)) {
        window_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Expose && window_->isExposed()) {
            window_->removeEventFilter(this);
            // Queued, so that the window paints this exposure before the action runs.
            QTimer::singleShot(0, parent(), std::move(action_));
            deleteLater();
        }
        return false;
    }

private:
    QWindow* window_;
    std::function<void()> action_;
};

} // namespace

void CallWhenExposed(QWindow* window, QObject* context, std::function<void()> action) {
    if (window == nullptr || window->isExposed()) {
        QTimer::singleShot(0, context, std::move(action));
        return;
    }
    // Owned by context: it goes with it when the window is never exposed.
    new ExposeWatcher(window, context, std::move(action));
}
