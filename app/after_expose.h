// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Deferring work until a window is on screen: work that blocks would otherwise keep a window
// that was just shown from ever being mapped and painted.
#include <QObject>
#include <functional>

class QWindow;

// Calls action from the event loop once window has been exposed and painted, or at the next
// pass of the loop when it already is. Nothing is called once context is gone.
void CallWhenExposed(QWindow* window, QObject* context, std::function<void()> action);
