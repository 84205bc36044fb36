// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/http_request.h"

#include "net/http_client.h"
#include "os/cp1251.h"

namespace {

// The program's texts are windows-1251, so a request prefix or proxy credentials read from
// the settings file go out as the same bytes they were stored as. Nothing is sent for a text
// with blanks or control characters (they would break the request line or smuggle headers
// into it), or with a character the code page has no byte for.
std::optional<QByteArray> RequestBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const std::optional<char> byte = Cp1251Byte(c);
        if (u <= 0x20 || u == 0x7F || !byte)
            return std::nullopt;
        bytes.append(*byte);
    }
    return bytes;
}

// What the toolkit's converter writes for a character the code page lacks, kept for the
// credentials' bytes: ASCII's SUB.
constexpr char kSubstitute = '\x1A';

} // namespace

std::optional<QByteArray> BuildGetRequest(const QString& target, const QString& host,
                                          const QByteArray& proxyCredentials) {
    const std::optional<QByteArray> targetBytes = RequestBytes(target);
    const std::optional<QByteArray> hostBytes = RequestBytes(host);
    if (!targetBytes || !hostBytes)
        return std::nullopt;
    using namespace http_request_values;
    QByteArray r;
    r += "GET " + *targetBytes + " HTTP/" + kProtocolVersion + "\r\n";
    r += "Host: " + *hostBytes + "\r\n";
    r += QByteArray("Accept: ") + kAccept + "\r\n";
    r += QByteArray("Accept-Charset: ") + kAcceptCharset + "\r\n";
    r += QByteArray("User-Agent: ") + kUserAgent + "\r\n";
    r += QByteArray("Connection: ") + kConnection + "\r\n";
    if (!proxyCredentials.isEmpty())
        r += "Proxy-Authorization: Basic " + proxyCredentials + "\r\n";
    r += "\r\n";
    return r;
}

QByteArray BasicCredentials(const QString& user, const QString& password) {
    // Encoded like every other text of the program; a character windows-1251 lacks
    // becomes the substitute byte.
    QByteArray bytes;
    for (const QChar c : user + u':' + password)
        bytes.append(Cp1251Byte(c).value_or(kSubstitute));
    return bytes.toBase64();
}
