// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/countdown.h"

#include <QCoreApplication>

bool Countdown::Start(int hours, int minutes) {
    remaining_ = hours * 60 + minutes;
    maximum_ = remaining_;
    return remaining_ > 0;
}

bool Countdown::Tick() {
    --remaining_;
    return remaining_ <= 0;
}

QString Countdown::Text() const {
    return QCoreApplication::translate("Countdown", "До начала закачки осталось: %1ч %2мин")
        .arg(remaining_ / 60)
        .arg(remaining_ % 60);
}
