// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_body.h"

#include "net/http_numbers.h"

namespace {

using Status = HttpReplyReader::Status;

// Chunk-size lines and trailer lines are short; a longer one is not chunked coding.
constexpr qsizetype kMaxChunkLine = 4096;
constexpr int kMaxTrailerLines = 100;

QString TooLarge(qint64 limit) {
    return QStringLiteral("reply body larger than %1 bytes").arg(limit);
}

QString Truncated(Status status, const HttpReplyReader& reader) {
    if (status == Status::Closed)
        return QStringLiteral("connection closed before the end of the reply body");
    return reader.error();
}

// Absent leaves length empty; present it must be a non-negative decimal integer.
std::optional<QString> ContentLength(const HttpReplyHead& head, std::optional<qint64>& length) {
    length.reset();
    const std::optional<QString> text = head.Value(u"Content-Length");
    if (!text)
        return std::nullopt;
    const std::optional<qint64> value = ParseDecimal(text->trimmed());
    if (!value || *value < 0)
        return QStringLiteral("bad Content-Length \"%1\"").arg(*text);
    length = *value;
    return std::nullopt;
}

// Replies that never carry a body, whatever their head announces.
bool HasNoBody(int statusCode) {
    return statusCode == 204 || statusCode == 304;
}

// The size is the hexadecimal number that starts the line, ended by a blank, a tab or the
// ';' of a chunk extension.
std::optional<qint64> ChunkSize(const QByteArray& line) {
    qsizetype end = 0;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ';')
        ++end;
    return ParseHex(QString::fromLatin1(line.first(end)));
}

std::optional<QString> ReadChunked(HttpReplyReader& reader, qint64 limit, QByteArray& body) {
    QByteArray line;
    for (;;) {
        Status s = reader.ReadLine(line, kMaxChunkLine);
        if (s != Status::Ok)
            return Truncated(s, reader);
        const std::optional<qint64> size = ChunkSize(line);
        if (!size)
            return QStringLiteral("bad chunk size line \"%1\"").arg(QString::fromLatin1(line));
        if (*size == 0)
            break;
        if (*size > limit - body.size())
            return TooLarge(limit);
        s = reader.ReadExact(*size, body);
        if (s == Status::Ok)
            s = reader.ReadLine(line, kMaxChunkLine);
        if (s != Status::Ok)
            return Truncated(s, reader);
    }
    // The trailer ends with an empty line. Reading all of it keeps the connection clean for
    // a next request; a peer that closes instead of sending it has still sent the whole body.
    for (int i = 0; i < kMaxTrailerLines; ++i) {
        const Status s = reader.ReadLine(line, kMaxChunkLine);
        if (s == Status::Closed || (s == Status::Ok && line.isEmpty()))
            return std::nullopt;
        if (s == Status::Failed)
            return reader.error();
    }
    return QStringLiteral("chunked trailer too long");
}

} // namespace

std::optional<QString> ReadReplyBody(HttpReplyReader& reader, const HttpReplyHead& head,
                                     qint64 limit, QByteArray& body) {
    body.clear();
    if (HasNoBody(head.statusCode))
        return std::nullopt;
    std::optional<qint64> length;
    if (std::optional<QString> bad = ContentLength(head, length))
        return bad;

    if (length > 0) {
        if (*length > limit)
            return TooLarge(limit);
        const Status s = reader.ReadExact(*length, body);
        if (s != Status::Ok)
            return Truncated(s, reader);
        return std::nullopt;
    }

    const QString coding = head.Value(u"Transfer-Encoding").value_or(QString());
    if (coding.contains(u"chunked", Qt::CaseInsensitive))
        return ReadChunked(reader, limit, body);
    // An announced empty body is complete at once: a peer asked for keep-alive need not close.
    if (length == 0)
        return std::nullopt;

    if (reader.ReadToClose(body, limit) != Status::Ok)
        return reader.error();
    return std::nullopt;
}
