#pragma once
// The three error lines of the progress dialog.
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
