// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/reply_validators.h"

#include "os/integer_text.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace {

// An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT", the form servers send today), as seconds
// since 1970; nothing when it is none.
std::optional<std::int64_t> HttpDate(QByteArrayView text) {
    QString line = QString::fromLatin1(text.trimmed());
    if (line.endsWith(QLatin1StringView(" GMT")))
        line.chop(4);
    const QDateTime local =
        QLocale::c().toDateTime(line, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"));
    if (!local.isValid())
        return std::nullopt;
    return QDateTime(local.date(), local.time(), Qt::UTC).toSecsSinceEpoch();
}

// max-age's seconds in a Cache-Control value; zero for no-cache and no-store, which ask to be
// asked every time.
std::optional<std::int64_t> MaxAge(QByteArrayView value) {
    std::optional<std::int64_t> seconds;
    for (const QByteArray& part : value.toByteArray().split(',')) {
        const QByteArray directive = part.trimmed().toLower();
        if (directive == "no-cache" || directive == "no-store")
            return 0;
        if (directive.startsWith("max-age=")) {
            const std::optional<std::int64_t> n =
                ParseInteger<std::int64_t>(directive.mid(8).trimmed(), PlusSign::Allowed);
            if (n && *n >= 0)
                seconds = n;
        }
    }
    return seconds;
}

} // namespace

void TakeValidatorHeader(QByteArrayView line, std::int64_t nowSecs, ReplyValidators& validators) {
    if (line.startsWith("HTTP/")) {
        validators = {};
        return;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return;
    const QByteArray name = line.first(colon).trimmed().toByteArray().toLower();
    const QByteArrayView value = line.sliced(colon + 1).trimmed();
    if (name == "etag") {
        validators.etag = value.toByteArray();
    } else if (name == "last-modified") {
        validators.lastModifiedSecs = HttpDate(value).value_or(0);
    } else if (name == "cache-control") {
        // max-age wins over Expires whichever comes first.
        if (const std::optional<std::int64_t> seconds = MaxAge(value)) {
            validators.freshUntilSecs = nowSecs + *seconds;
            validators.freshFromMaxAge = true;
        }
    } else if (name == "expires" && !validators.freshFromMaxAge) {
        // A date that cannot be read is in the past, as HTTP says.
        validators.freshUntilSecs = HttpDate(value).value_or(nowSecs);
    }
}
