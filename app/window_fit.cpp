// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_fit.h"

QSize FittedStartSize(QSize layout, QSize available, QSize frame, qreal scale) {
    const QSize room = available - frame;
    if (scale <= 1 || room.isEmpty()) // no screen to measure: the layout as it is
        return layout;
    return layout.boundedTo(room);
}
