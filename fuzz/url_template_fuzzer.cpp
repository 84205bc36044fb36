// SPDX-License-Identifier: GPL-3.0-or-later
// URL templates: the first line of the input is the template, the next its subdomains, and the
// last bytes pick a tile. A template that is accepted expands, for any tile of any level, to an
// address of the template's own scheme with every field filled in.
#include "fuzz/fuzz_check.h"
#include "sources/url_template.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> lines = bytes.split('\n');
    const QString urlTemplate = QString::fromUtf8(lines.value(0));
    const QStringList subdomains =
        QString::fromUtf8(lines.value(1)).split(u' ', Qt::SkipEmptyParts);
    const QByteArray pick = lines.value(2).leftJustified(9, '\0');
    const int level = 1 + static_cast<unsigned char>(pick[0]) % 20;
    const auto coordinate = [&](int at) {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(pick[at + i]);
        return value % (quint32{1} << level);
    };
    const quint32 column = coordinate(1);
    const quint32 row = coordinate(5);

    const QString quadkey = Quadkey(level, column, row);
    FUZZ_CHECK(quadkey.size() == level);
    for (const QChar digit : quadkey)
        FUZZ_CHECK(digit >= u'0' && digit <= u'3');

    if (UrlTemplateProblem(urlTemplate, subdomains))
        return 0;
    const QString url = ExpandUrlTemplate(urlTemplate, subdomains, level, column, row);
    const QString scheme = urlTemplate.left(urlTemplate.indexOf(u':') + 3).toLower();
    FUZZ_CHECK(scheme == QStringLiteral("http://") || scheme == QStringLiteral("https://"));
    FUZZ_CHECK(url.toLower().startsWith(scheme));
    // The same tile always gives the same address, so caches on the way keep working.
    FUZZ_CHECK(url == ExpandUrlTemplate(urlTemplate, subdomains, level, column, row));
    // Every brace of the template opens a field, and every field is filled in: a brace of the
    // address can only come from a subdomain.
    FUZZ_CHECK(!url.contains(u'{') || subdomains.join(u' ').contains(u'{'));
    return 0;
}
