// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three error lines of the progress dialog, and the message a job stops with when a
// counter reaches its limit.
#include "batch/dialup/errors_caption.h"
#include "loader/tile_counters.h"

#include <QCoreApplication>
#include <QString>

struct ErrorCountTexts {
    QString receive;
    QString badFile;
    QString write;
};

inline ErrorCountTexts ErrorCountLines(const TileCounters& c) {
    return {QCoreApplication::translate("ErrorCounts", "%1 ошибок получения").arg(c.receiveErrors),
            QCoreApplication::translate("ErrorCounts", "%1 ошибок jpeg").arg(c.badFileErrors),
            QCoreApplication::translate("ErrorCounts", "%1 ошибок записи").arg(c.writeErrors)};
}

// Shown in a box titled "ошибки" when a batch job stops on an error limit.
inline QString ErrorLimitMessage(const TileCounters& c) {
    return QCoreApplication::translate("ErrorCounts",
                                       "Закачка остановлена - превышен предел ошибок. Выявлено "
                                       "ошибок: записи -  %1; получения - %2; ошибочных файлов - "
                                       "%3; ")
        .arg(c.writeErrors)
        .arg(c.receiveErrors)
        .arg(c.badFileErrors);
}
