#pragma once
// The three error lines of the progress dialog, and the message a job stops with when a
// counter reaches its limit.
#include "fetch/tile_counters.h"

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

// The caption of the boxes a job's failures are shown in.
inline QString ErrorsCaption() {
    return QCoreApplication::translate("ErrorCounts", "ошибки");
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
