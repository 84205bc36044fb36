// SPDX-License-Identifier: GPL-3.0-or-later
// What the client sends: request lines direct and through a proxy, and when it sends nothing.
#include "net/http_client.h"
#include "tests/net/http_test_replies.h"
#include "tests/support/scripted_tcp_server.h"

#include <gtest/gtest.h>

namespace {

ProxySettings ProxyTo(const ScriptedTcpServer& proxy, const QString& user = {},
                      const QString& password = {}) {
    return ProxyFromFields(QStringLiteral("127.0.0.1"), QString::number(proxy.port()), user,
                           password);
}

} // namespace

TEST(HttpRequest, DirectRequestCarriesTheFixedLinesAndDropsTheFragment) {
    ScriptedTcpServer server({ConnectionScript().Reply(OkReply("tile"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    EXPECT_EQ(client.Get(server.Url("/kh?v=5&n=404&t=tq#part"), body), std::nullopt);
    EXPECT_EQ(body, "tile");
    ASSERT_EQ(server.AcceptedCount(), 1);
    EXPECT_EQ(server.Received()[0], ExpectedRequest("/kh?v=5&n=404&t=tq", "127.0.0.1"));
}

TEST(HttpRequest, ProxyRequestIsAbsoluteAndAuthenticatesWithUserAndPassword) {
    ScriptedTcpServer proxy(
        {ConnectionScript().Reply(OkReply("a")), ConnectionScript().Reply(OkReply("b"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyTo(proxy, "user", "pass"));
    QByteArray body;
    EXPECT_EQ(client.Get("http://tiles.example:8080/kh?t=tq", body), std::nullopt);
    EXPECT_EQ(client.Get("http://tiles.example/kh?t=tr", body), std::nullopt);
    EXPECT_EQ(body, "b");
    ASSERT_EQ(proxy.AcceptedCount(), 2);
    const QByteArray credentials = QByteArray("user:pass").toBase64();
    EXPECT_EQ(proxy.Received()[0],
              ExpectedRequest("http://tiles.example:8080/kh?t=tq", "tiles.example", credentials));
    EXPECT_EQ(proxy.Received()[1],
              ExpectedRequest("http://tiles.example/kh?t=tr", "tiles.example", credentials));
}

TEST(HttpRequest, ProxyAuthorizationNeedsServerAndUser) {
    { // a user without a password still authenticates, with an empty password
        ScriptedTcpServer proxy({ConnectionScript().Reply(OkReply("x"))});
        HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
        client.SetProxy(ProxyTo(proxy, "user"));
        QByteArray body;
        EXPECT_EQ(client.Get("http://h/t", body), std::nullopt);
        EXPECT_EQ(proxy.Received().at(0), ExpectedRequest("http://h/t", "h", "dXNlcjo="));
    }
    { // a password alone sends no credentials
        ScriptedTcpServer proxy({ConnectionScript().Reply(OkReply("x"))});
        HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
        client.SetProxy(ProxyTo(proxy, {}, "secret"));
        QByteArray body;
        EXPECT_EQ(client.Get("http://h/t", body), std::nullopt);
        EXPECT_EQ(proxy.Received().at(0), ExpectedRequest("http://h/t", "h"));
    }
    { // no proxy server: straight to the host, whatever user and password hold
        ScriptedTcpServer server({ConnectionScript().Reply(OkReply("x"))});
        HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
        client.SetProxy(ProxyFromFields({}, "3128", "user", "pass"));
        QByteArray body;
        EXPECT_EQ(client.Get(server.Url("/t"), body), std::nullopt);
        EXPECT_EQ(server.Received().at(0), ExpectedRequest("/t", "127.0.0.1"));
    }
}

TEST(HttpRequest, ProxyPortFieldThatIsNotANumberGivesPortZeroAndFetchesFail) {
    EXPECT_EQ(ProxyFromFields("p", "80a", "", "").port, 0);
    EXPECT_EQ(ProxyFromFields("p", "", "", "").port, 0);
    EXPECT_EQ(ProxyFromFields("p", "99999", "", "").port, 0);
    EXPECT_EQ(ProxyFromFields("p", "3128", "u", "w"), (ProxySettings{"p", 3128, "u", "w"}));

    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyFromFields("127.0.0.1", "80a", "", ""));
    QByteArray body;
    const std::optional<HttpFailure> failure = client.Get("http://h/t", body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusCode, 0);
}

TEST(HttpRequest, UnsendableUrlsFailWithoutSendingAnything) {
    ScriptedTcpServer server({});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    // No encryption is offered, so an https URL must not go out in clear text.
    EXPECT_TRUE(client.Get(QStringLiteral("HTTPS://127.0.0.1:%1/t").arg(server.port()), body));
    // Line breaks or blanks would let the URL rewrite the request.
    EXPECT_TRUE(client.Get(server.Url("/t HTTP/1.0\r\nX-Injected: 1\r\n"), body));
    EXPECT_TRUE(client.Get(server.Url("/a b"), body));
    EXPECT_EQ(server.AcceptedCount(), 0);
}

// Texts read from the settings file are windows-1251 and go out as those same bytes.
TEST(HttpRequest, CyrillicTextsAreSentInWindows1251) {
    ScriptedTcpServer proxy({ConnectionScript().Reply(OkReply("a"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyTo(proxy, QStringLiteral("юзер"), QStringLiteral("пароль")));
    QByteArray body;
    EXPECT_EQ(client.Get(QStringLiteral("http://tiles.example/карта?t=tq"), body), std::nullopt);
    ASSERT_EQ(proxy.AcceptedCount(), 1);
    const QByteArray received = proxy.Received()[0];
    EXPECT_TRUE(received.startsWith("GET http://tiles.example/\xEA\xE0\xF0\xF2\xE0?t=tq HTTP/1.0"));
    EXPECT_TRUE(
        received.contains("Proxy-Authorization: Basic " +
                          QByteArray("\xFE\xE7\xE5\xF0:\xEF\xE0\xF0\xEE\xEB\xFC").toBase64()));
}

// A URL with a character the code page has no byte for is not sent; in the credentials such a
// character goes out as SUB, as it always has.
TEST(HttpRequest, CharactersWindows1251LacksStopAUrlAndAreSubstitutedInCredentials) {
    ScriptedTcpServer proxy({ConnectionScript().Reply(OkReply("a"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyTo(proxy, QStringLiteral("u\u2603"), QStringLiteral("\u20AC")));
    QByteArray body;
    EXPECT_TRUE(client.Get(QStringLiteral("http://tiles.example/\u2603?t=tq"), body));
    EXPECT_EQ(proxy.AcceptedCount(), 0);
    EXPECT_EQ(client.Get(QStringLiteral("http://tiles.example/t"), body), std::nullopt);
    ASSERT_EQ(proxy.AcceptedCount(), 1);
    EXPECT_TRUE(proxy.Received()[0].contains("Proxy-Authorization: Basic " +
                                             QByteArray("u\x1A:\x88").toBase64()));
}

// Work handed to the next fetch is done once its request has left, before the reply is read;
// a fetch that sends nothing drops it undone.
TEST(HttpRequest, WorkWhileTheReplyIsAwaitedIsDoneOnceTheRequestHasLeft) {
    ScriptedTcpServer server(
        {ConnectionScript().Reply(OkReply("a")), ConnectionScript().Reply(OkReply("b"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    std::vector<QByteArray> bodiesSeen; // by the work, as it is done
    const auto work = [&] { bodiesSeen.push_back(body); };
    client.WhileReplyIsAwaited(work);
    EXPECT_NE(client.Get("https://tiles.example/t", body), std::nullopt);
    EXPECT_EQ(client.Get(server.Url("/a"), body), std::nullopt);
    EXPECT_TRUE(bodiesSeen.empty());
    client.WhileReplyIsAwaited(work);
    EXPECT_EQ(client.Get(server.Url("/b"), body), std::nullopt);
    EXPECT_EQ(body, "b");
    EXPECT_EQ(bodiesSeen, std::vector<QByteArray>{QByteArray()});
}
