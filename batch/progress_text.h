#pragma once
// The status line a batch job shows while it fetches.
#include <QString>
#include <cstdint>

// "Закачано 3 фрагментов из 25": how far the progress bar has come of its maximum.
inline QString FetchedStatusText(std::int64_t position, std::int64_t maximum) {
    return QStringLiteral("Закачано ") + QString::number(position) +
           QStringLiteral(" фрагментов из ") + QString::number(maximum);
}

inline bool IsFetchedStatusText(const QString& text) {
    return text.startsWith(QStringLiteral("Закачано "));
}
