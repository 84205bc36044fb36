// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's size at start and its smallest size on the screen it opens on.
#include <QSize>

// The layout's own size wherever it fits, and always at a scale of 1, where the window keeps
// the size it was laid out for; at a larger scale, on a screen whose free area (less the
// window's frame) is smaller, as much of it as fits, so that no part of the window, the
// status bar least of all, starts off the screen.
QSize FittedStartSize(QSize layout, QSize available, QSize frame, qreal scale);
