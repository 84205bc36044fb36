#pragma once
// The three error lines of the progress dialog, and the message a job stops with when a
// counter reaches its limit.
#include "fetch/tile_counters.h"

#include <QString>

struct ErrorCountTexts {
    QString receive;
    QString badFile;
    QString write;
};

inline ErrorCountTexts ErrorCountLines(const TileCounters& c) {
    return {QString::number(c.receiveErrors) + QStringLiteral(" ошибок получения"),
            QString::number(c.badFileErrors) + QStringLiteral(" ошибок jpeg"),
            QString::number(c.writeErrors) + QStringLiteral(" ошибок записи")};
}

// Shown in a box titled "ошибки" when a batch job stops on an error limit.
inline QString ErrorLimitMessage(const TileCounters& c) {
    return QStringLiteral("Закачка остановлена - превышен предел ошибок. Выявлено ошибок: "
                          "записи -  ") +
           QString::number(c.writeErrors) + QStringLiteral("; получения - ") +
           QString::number(c.receiveErrors) + QStringLiteral("; ошибочных файлов - ") +
           QString::number(c.badFileErrors) + QStringLiteral("; ");
}
