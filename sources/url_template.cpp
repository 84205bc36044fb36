// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/url_template.h"

#include <QDateTime>
#include <algorithm>
#include <array>

namespace {

constexpr std::array kFields = {u"z", u"x", u"y", u"-y", u"q", u"s", u"date"};

// Calls onText for literal text and onField for each field name, in order. False when a
// brace is left unclosed.
template <typename Text, typename Field>
bool WalkTemplate(const QString& urlTemplate, Text onText, Field onField) {
    qsizetype at = 0;
    while (at < urlTemplate.size()) {
        const qsizetype open = urlTemplate.indexOf(u'{', at);
        if (open < 0) {
            onText(QStringView(urlTemplate).mid(at));
            break;
        }
        const qsizetype close = urlTemplate.indexOf(u'}', open);
        if (close < 0)
            return false;
        onText(QStringView(urlTemplate).mid(at, open - at));
        onField(QStringView(urlTemplate).mid(open + 1, close - open - 1));
        at = close + 1;
    }
    return true;
}

} // namespace

std::optional<QString> UrlTemplateProblem(const QString& urlTemplate,
                                          const QStringList& subdomains) {
    if (!urlTemplate.startsWith(u"https://") && !urlTemplate.startsWith(u"http://"))
        return QStringLiteral("the URL must begin with http:// or https://");
    QStringList used;
    std::optional<QString> unknown; // "{}" is unknown too
    const bool closed = WalkTemplate(
        urlTemplate, [](QStringView) {},
        [&](QStringView field) {
            if (std::find(kFields.begin(), kFields.end(), field) == kFields.end()) {
                if (!unknown)
                    unknown = field.toString();
            } else {
                used << field.toString();
            }
        });
    if (!closed)
        return QStringLiteral("a '{' is not closed");
    if (unknown)
        return QStringLiteral("unknown field {%1}; known are {z} {x} {y} {-y} {q} {s} {date}")
            .arg(*unknown);
    if (used.contains(u"s") && subdomains.isEmpty())
        return QStringLiteral("{s} needs subdomains");
    const bool xyz =
        used.contains(u"z") && used.contains(u"x") && (used.contains(u"y") || used.contains(u"-y"));
    if (!xyz && !used.contains(u"q"))
        return QStringLiteral("the URL names no tile: use {z} {x} and {y} or {-y}, or {q}");
    return std::nullopt;
}

QString Quadkey(int level, quint32 column, quint32 row) {
    QString digits;
    digits.reserve(level);
    for (int bit = level - 1; bit >= 0; --bit)
        digits += QChar(u'0' + ((column >> bit) & 1u) + 2 * ((row >> bit) & 1u));
    return digits;
}

QString ExpandUrlTemplate(const QString& urlTemplate, const QStringList& subdomains, int level,
                          quint32 column, quint32 row, QDate date) {
    // Yesterday in UTC: a daily layer's mosaic of today is still being made.
    if (!date.isValid())
        date = QDateTime::currentDateTimeUtc().date().addDays(-1);
    QString url;
    WalkTemplate(
        urlTemplate, [&](QStringView text) { url += text; },
        [&](QStringView field) {
            if (field == u"z")
                url += QString::number(level);
            else if (field == u"x")
                url += QString::number(column);
            else if (field == u"y")
                url += QString::number(row);
            else if (field == u"-y")
                url += QString::number((quint64{1} << level) - 1 - row);
            else if (field == u"q")
                url += Quadkey(level, column, row);
            else if (field == u"date")
                url += date.toString(Qt::ISODate);
            else if (field == u"s" && !subdomains.isEmpty())
                url += subdomains[static_cast<qsizetype>((quint64{column} + row) %
                                                         static_cast<quint64>(subdomains.size()))];
        });
    return url;
}
