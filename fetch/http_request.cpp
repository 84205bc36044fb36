#include "fetch/http_request.h"

#include "fetch/http_client.h"

namespace {

bool FitsRequestLine(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u == 0x7F || u > 0xFF)
            return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> BuildGetRequest(const QString& target, const QString& host,
                                          const QByteArray& proxyCredentials) {
    if (!FitsRequestLine(target) || !FitsRequestLine(host))
        return std::nullopt;
    using namespace http_request_values;
    QByteArray r;
    r += "GET " + target.toLatin1() + " HTTP/" + kProtocolVersion + "\r\n";
    r += "Host: " + host.toLatin1() + "\r\n";
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
    // Basic authentication defines UTF-8 as the only charset of user name and password.
    return (user + u':' + password).toUtf8().toBase64();
}
