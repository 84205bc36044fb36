// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/progress_line.h"

#include "tiles/decimal_text.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

QString Duration(double seconds) {
    const auto whole = static_cast<std::int64_t>(std::llround(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// The decimal separator of the run's language: a comma in Russian, a point in English.
QString InRunLanguage(QString number) {
    return number.replace(u',', QCoreApplication::translate("ProgressLine", ","));
}

} // namespace

QString ProgressLine(std::int64_t position, std::int64_t maximum, double elapsedSeconds,
                     const TileCounters& counters) {
    // Only the tiles in hand count: the position also passes tiles that failed every attempt,
    // and, in a stitch, the one being fetched. Tiles passed over because the cache holds them
    // are in hand, so a job that finds part of its tiles cached still ends at 100 %; the rate
    // is of the tiles loaded.
    const std::int64_t obtained = counters.tilesObtained;
    const std::int64_t inHand = obtained + counters.tilesAlreadyCached;
    QString line =
        QCoreApplication::translate("ProgressLine", "Закачано %1 из %2").arg(inHand).arg(maximum);
    if (maximum > 0)
        line += QStringLiteral(" (%1%)").arg(inHand * 100 / maximum);
    if (position > 0 && elapsedSeconds > 0) {
        const double rate = static_cast<double>(position) / elapsedSeconds;
        line +=
            QCoreApplication::translate("ProgressLine", ", %1 фрагм./с, осталось %2")
                .arg(InRunLanguage(FormatFixed(static_cast<double>(obtained) / elapsedSeconds, 1)),
                     Duration(static_cast<double>(maximum - position) / rate));
    }
    line +=
        QCoreApplication::translate("ProgressLine", "; ошибок: получения %1, jpeg %2, записи %3")
            .arg(counters.receiveErrors)
            .arg(counters.badFileErrors)
            .arg(counters.writeErrors);
    return line;
}
