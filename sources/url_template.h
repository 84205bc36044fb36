// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// URL templates of tile sources: {z} {x} {y} (rows from the north), {-y} (rows from the
// south), {q} (quadkey digits), {s} (one of the source's subdomains) and {date} (the day of a
// daily layer, as 2024-05-31).
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// Why template cannot be used, or nothing when it can: an unknown or unclosed field, {s}
// without subdomains, no tile address at all, or a scheme other than http and https.
std::optional<QString> UrlTemplateProblem(const QString& urlTemplate,
                                          const QStringList& subdomains);

// The quadkey of a tile: one digit 0 to 3 per level (0 top-left, 1 top-right, 2 bottom-left,
// 3 bottom-right), the coarsest first.
QString Quadkey(int level, quint32 column, quint32 row);

// The URL of the tile at column and row (both counted from the north-west corner) at level,
// for a template that UrlTemplateProblem accepts. {s} takes subdomain (column + row) modulo
// their count: neighbouring tiles go to different hosts, and a tile always to the same one,
// so caches on the way keep working. {date} takes date, or yesterday (UTC) when it is null.
QString ExpandUrlTemplate(const QString& urlTemplate, const QStringList& subdomains, int level,
                          quint32 column, quint32 row, QDate date = {});
