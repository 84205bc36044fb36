// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/source_pace.h"

#include "tiles/decimal_text.h"

#include <algorithm>
#include <cmath>

std::optional<double> RateOfText(const QString& text) {
    bool ok = false;
    const double rate = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(rate) || rate <= 0 || rate > kMostRate)
        return std::nullopt;
    return rate;
}

std::optional<qint64> BandwidthOfText(const QString& text) {
    QString digits = text.trimmed();
    qint64 unit = 1;
    if (digits.endsWith(u'k', Qt::CaseInsensitive))
        unit = 1024;
    else if (digits.endsWith(u'm', Qt::CaseInsensitive))
        unit = 1024 * 1024;
    if (unit != 1)
        digits.chop(1);
    const std::optional<qint64> count = ParseInt64(QStringView(digits).trimmed());
    if (!count || *count < 1 || *count > kMostBandwidth / unit)
        return std::nullopt;
    return *count * unit;
}

std::optional<qint64> MaxAgeOfText(const QString& text) {
    QString digits = text.trimmed();
    const std::pair<QChar, qint64> units[] = {
        {u's', 1}, {u'm', 60}, {u'h', 60 * 60}, {u'd', 24 * 60 * 60}};
    qint64 unit = 1;
    for (const auto& [letter, seconds] : units)
        if (digits.endsWith(letter, Qt::CaseInsensitive)) {
            unit = seconds;
            digits.chop(1);
        }
    constexpr qint64 kTenYears = qint64{3650} * 24 * 60 * 60;
    const std::optional<qint64> count = ParseInt64(QStringView(digits).trimmed());
    if (!count || *count < 0 || *count > kTenYears / unit)
        return std::nullopt;
    return *count * unit;
}

SourceDefinition WithLowerPace(SourceDefinition source, std::optional<double> rate,
                               std::optional<qint64> bandwidth) {
    if (rate)
        source.rate = source.rate > 0 ? std::min(source.rate, *rate) : *rate;
    if (bandwidth)
        source.bandwidth =
            source.bandwidth > 0 ? std::min(source.bandwidth, *bandwidth) : *bandwidth;
    return source;
}
