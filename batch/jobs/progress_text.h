// SPDX-License-Identifier: GPL-3.0-or-later
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
