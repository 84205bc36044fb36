// SPDX-License-Identifier: GPL-3.0-or-later
// The whole fetch, HttpClient::Get, against a peer on loopback that sends the input's replies.
//
// Input: a mode byte, a line with the URL, then the replies of the successive connections
// separated by kReplySeparator. Mode bit 0 sends every request through the peer as a proxy,
// bit 1 adds proxy credentials. Without the proxy the URL is a target on the peer; with it the
// URL is taken as it stands. Any "://" in the input (a redirect to some host) forces the
// proxy, so that no request ever leaves the machine.
#include "fuzz/fuzz_check.h"
#include "fuzz/loopback_peer.h"
#include "net/http_client.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

namespace {

constexpr QByteArrayView kReplySeparator = "~~next~~";

std::vector<QByteArray> SplitReplies(QByteArrayView rest) {
    std::vector<QByteArray> replies;
    for (;;) {
        const qsizetype at = rest.indexOf(kReplySeparator);
        if (at < 0) {
            replies.emplace_back(rest.toByteArray());
            return replies;
        }
        replies.emplace_back(rest.first(at).toByteArray());
        rest = rest.sliced(at + kReplySeparator.size());
    }
}

// A request as the client must send it: a GET line, header lines free of control characters,
// and one empty line at the very end; a redirect target must never split or add a line.
void CheckRequest(const QByteArray& request) {
    if (request.isEmpty())
        return; // the client closed without asking, or the peer had no reply for it
    FUZZ_CHECK(request.startsWith("GET "));
    FUZZ_CHECK(request.endsWith("\r\n\r\n"));
    FUZZ_CHECK(request.indexOf("\r\n\r\n") == request.size() - 4);
    int lines = 0;
    for (qsizetype i = 0; i < request.size(); ++i) {
        const auto byte = static_cast<unsigned char>(request[i]);
        if (byte == '\r') {
            FUZZ_CHECK(i + 1 < request.size() && request[i + 1] == '\n');
            ++lines;
            ++i;
            continue;
        }
        FUZZ_CHECK(byte >= 0x20 && byte != 0x7F);
    }
    // Request line, Host, Accept, Accept-Charset, User-Agent, Connection, perhaps
    // Proxy-Authorization, and the empty line.
    FUZZ_CHECK(lines == 7 || lines == 8);
    const qsizetype lineEnd = request.indexOf("\r\n");
    FUZZ_CHECK(request.first(lineEnd).endsWith(" HTTP/1.0"));
    FUZZ_CHECK(request.first(lineEnd).count(' ') == 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static LoopbackPeer peer;
    if (size < 1)
        return 0;
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const std::uint8_t mode = data[0];
    QByteArrayView rest = input.sliced(1);
    const qsizetype lineEnd = rest.indexOf('\n');
    const QByteArrayView urlText = lineEnd < 0 ? rest : rest.first(lineEnd);
    rest = lineEnd < 0 ? QByteArrayView() : rest.sliced(lineEnd + 1);

    const bool proxy = (mode & 1) != 0 || input.indexOf("://") >= 0;
    ProxySettings settings;
    QString url = QString::fromLatin1(urlText);
    if (proxy) {
        settings.server = QStringLiteral("127.0.0.1");
        settings.port = peer.port();
        if ((mode & 2) != 0) {
            settings.user = QStringLiteral("user");
            settings.password = QStringLiteral("pass:word");
        }
    } else {
        if (!url.startsWith(u'/'))
            url.prepend(u'/');
        url.prepend(QStringLiteral("http://127.0.0.1:%1").arg(peer.port()));
    }

    HttpClientOptions options;
    options.connectTimeout = std::chrono::milliseconds(2000);
    options.readTimeout = std::chrono::milliseconds(2000);
    peer.Begin(SplitReplies(rest));
    {
        HttpClient client(QStringLiteral("127.0.0.1"), options);
        client.SetProxy(settings);
        QByteArray body;
        const std::optional<HttpFailure> failure = client.Get(url, body);
        FUZZ_CHECK(body.size() <= options.bodyLimit);
        if (failure)
            FUZZ_CHECK(!failure->message.isEmpty());
    }
    peer.End();

    FUZZ_CHECK(peer.requests().size() <= size_t{http_request_values::kRequestLimit});
    for (const QByteArray& request : peer.requests())
        CheckRequest(request);
    return 0;
}
