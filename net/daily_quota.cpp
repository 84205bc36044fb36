// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/daily_quota.h"

#include "os/atomic_file.h"
#include "os/integer_text.h"

#include <QFile>

DailyQuota::DailyQuota(const QString& folder, std::int64_t limit, std::function<QDate()> today)
    : path_(folder + QLatin1StringView(kFileName)), limit_(limit), today_(std::move(today)) {
    if (!today_)
        today_ = [] { return QDate::currentDate(); };
    // "2024-05-31 1234": the day and the requests made on it. Anything else counts as none.
    QFile file(path_);
    if (limit_ > 0 && file.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = file.read(64).trimmed().split(' ');
        day_ = QDate::fromString(QString::fromLatin1(fields.value(0)), Qt::ISODate);
        used_ =
            ParseInteger<std::int64_t>(fields.value(1).trimmed(), PlusSign::Allowed).value_or(0);
        if (used_ < 0)
            used_ = 0;
    }
}

void DailyQuota::Roll() {
    const QDate today = today_();
    if (today != day_) {
        day_ = today;
        used_ = 0;
    }
}

std::int64_t DailyQuota::Left() {
    if (limit_ <= 0)
        return INT64_MAX;
    Roll();
    return std::max<std::int64_t>(0, limit_ - used_);
}

bool DailyQuota::Take() {
    if (limit_ <= 0)
        return true;
    if (Left() == 0)
        return false;
    ++used_;
    // Counted before the request goes out: a crash never lets a request go uncounted.
    WriteFileAtomically(
        path_, day_.toString(Qt::ISODate).toLatin1() + ' ' + QByteArray::number(used_) + '\n',
        AtomicFile::Durability::Unsynced);
    return true;
}

QDate DailyQuota::ResumesOn() const {
    return today_().addDays(1);
}
