// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_reply_head.h"

#include "net/http_numbers.h"

#include <limits>

namespace {

// A head larger than this is not a tile server's reply; refusing it bounds memory.
constexpr qsizetype kMaxHeadBytes = 256 * 1024;

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView TrimLeadingBlanks(QStringView s) {
    while (!s.isEmpty() && IsBlank(s.front()))
        s = s.sliced(1);
    return s;
}

QString ReadFailure(HttpReplyReader::Status status, const HttpReplyReader& reader) {
    if (status == HttpReplyReader::Status::Closed)
        return QStringLiteral("connection closed before the reply head was complete");
    return reader.error();
}

// The status code is the second word; the status text everything after the first word.
std::optional<QString> ParseStatusLine(const QString& line, HttpReplyHead& head) {
    QStringView rest = TrimLeadingBlanks(line);
    qsizetype firstEnd = 0;
    while (firstEnd < rest.size() && !IsBlank(rest[firstEnd]))
        ++firstEnd;
    rest = TrimLeadingBlanks(rest.sliced(firstEnd));
    head.statusText = rest.toString();

    qsizetype codeEnd = 0;
    while (codeEnd < rest.size() && !IsBlank(rest[codeEnd]))
        ++codeEnd;
    const std::optional<qint64> code = ParseDecimal(rest.first(codeEnd));
    if (!code || *code < std::numeric_limits<int>::min() || *code > std::numeric_limits<int>::max())
        return QStringLiteral("status code is not an integer: \"%1\"").arg(line);
    head.statusCode = static_cast<int>(*code);
    return std::nullopt;
}

} // namespace

std::optional<QString> HttpReplyHead::Value(QStringView name) const {
    for (const HttpHeader& h : headers) {
        if (h.name.compare(name, Qt::CaseInsensitive) == 0)
            return h.value;
    }
    return std::nullopt;
}

std::optional<QString> ReadReplyHead(HttpReplyReader& reader, HttpReplyHead& head) {
    head = HttpReplyHead{};
    qsizetype budget = kMaxHeadBytes;
    QByteArray raw;
    HttpReplyReader::Status status = reader.ReadLine(raw, budget);
    if (status != HttpReplyReader::Status::Ok)
        return ReadFailure(status, reader);
    budget -= raw.size();
    if (std::optional<QString> bad = ParseStatusLine(QString::fromLatin1(raw), head))
        return bad;

    for (;;) {
        status = reader.ReadLine(raw, budget);
        if (status != HttpReplyReader::Status::Ok)
            return ReadFailure(status, reader);
        budget -= raw.size() + 1;
        if (raw.isEmpty())
            return std::nullopt;
        if (budget < 0)
            return QStringLiteral("reply head longer than %1 bytes").arg(kMaxHeadBytes);

        const QString line = QString::fromLatin1(raw);
        if (IsBlank(line.front())) {
            // A folded line continues the previous header; one before any header has
            // nothing to continue and is dropped.
            if (!head.headers.isEmpty()) {
                QString& value = head.headers.back().value;
                value += u' ';
                value += TrimLeadingBlanks(line);
            }
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) {
            head.headers.append({line, QString()});
            continue;
        }
        head.headers.append(
            {line.left(colon), TrimLeadingBlanks(QStringView(line).sliced(colon + 1)).toString()});
    }
}
