// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_url.h"

#include "net/http_numbers.h"

HttpUrl SplitUrl(const QString& url) {
    HttpUrl parts;
    QStringView resource = url;
    const qsizetype schemeEnd = url.indexOf(u"://");
    if (schemeEnd >= 0) {
        parts.scheme = url.left(schemeEnd);
        const QStringView rest = QStringView(url).sliced(schemeEnd + 3);
        const qsizetype slash = rest.indexOf(u'/');
        const QStringView authority = slash < 0 ? rest : rest.first(slash);
        resource = slash < 0 ? QStringView() : rest.sliced(slash);

        const qsizetype colon = authority.indexOf(u':');
        parts.host = (colon < 0 ? authority : authority.first(colon)).toString();
        if (colon >= 0) {
            if (const std::optional<qint64> port = ParseDecimal(authority.sliced(colon + 1)))
                parts.port = *port >= 0 && *port <= 65535 ? static_cast<int>(*port) : -1;
        }
    }
    const qsizetype hash = resource.indexOf(u'#');
    if (hash >= 0)
        resource = resource.first(hash);
    if (!resource.startsWith(u'/'))
        parts.target = QStringLiteral("/");
    parts.target += resource;
    return parts;
}
