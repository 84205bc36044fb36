#pragma once
// The status line a batch job shows while it fetches.
#include <QCoreApplication>
#include <QString>
#include <cstdint>

// "Закачано 3 фрагментов из 25": how far the progress bar has come of its maximum.
inline QString FetchedStatusText(std::int64_t position, std::int64_t maximum) {
    return QCoreApplication::translate("FetchedStatus", "Закачано %1 фрагментов из %2")
        .arg(position)
        .arg(maximum);
}

// True for a text FetchedStatusText made, in whichever language it was made.
inline bool IsFetchedStatusText(const QString& text) {
    const QString pattern = FetchedStatusText(-1, -1);
    return text.startsWith(pattern.left(pattern.indexOf(QStringLiteral("-1"))));
}
