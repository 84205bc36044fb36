#include "batch/countdown.h"

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
    return QStringLiteral("До начала закачки осталось: ") + QString::number(remaining_ / 60) +
           QStringLiteral("ч ") + QString::number(remaining_ % 60) + QStringLiteral("мин");
}
