// SPDX-License-Identifier: GPL-3.0-or-later
// Following redirects: which replies are followed, where to, and the limit of 15 requests.
#include "net/http_client.h"
#include "tests/net/http_test_replies.h"
#include "tests/support/scripted_tcp_server.h"

#include <gtest/gtest.h>

TEST(HttpRedirect, RedirectsAndRepliesCarryingALocationAreFollowed) {
    ScriptedTcpServer target({ConnectionScript().Reply(OkReply("final"))});
    ScriptedTcpServer middle(
        {ConnectionScript().Reply("HTTP/1.0 200 OK\r\nLocation: " + target.Url("/end").toLatin1() +
                                  "\r\nContent-Length: 6\r\n\r\nmiddle")});
    ScriptedTcpServer first({ConnectionScript().Reply(RedirectReply(middle.Url("/mid")))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    EXPECT_EQ(client.Get(first.Url("/start"), body), std::nullopt);
    EXPECT_EQ(body, "final");
    EXPECT_EQ(target.Received().at(0), ExpectedRequest("/end", "127.0.0.1"));
}

TEST(HttpRedirect, LocationWithoutHostStaysWithTheSameServer) {
    ScriptedTcpServer server({ConnectionScript().Reply(RedirectReply("/next?t=q#frag")),
                              ConnectionScript().Reply(OkReply("there"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    EXPECT_EQ(client.Get(server.Url("/first"), body), std::nullopt);
    EXPECT_EQ(body, "there");
    ASSERT_EQ(server.AcceptedCount(), 2);
    EXPECT_EQ(server.Received()[1], ExpectedRequest("/next?t=q", "127.0.0.1"));
}

TEST(HttpRedirect, LocationWithoutHostThroughAProxyKeepsSchemeAndHost) {
    ScriptedTcpServer proxy(
        {ConnectionScript().Reply(RedirectReply("/b")), ConnectionScript().Reply(OkReply("b"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyFromFields("127.0.0.1", QString::number(proxy.port()), {}, {}));
    QByteArray body;
    EXPECT_EQ(client.Get("http://tiles.example:81/a", body), std::nullopt);
    ASSERT_EQ(proxy.AcceptedCount(), 2);
    EXPECT_EQ(proxy.Received()[1], ExpectedRequest("http://tiles.example:81/b", "tiles.example"));
}

// A redirect loop is a failure: the fifteenth reply's own body must never pass for the tile.
TEST(HttpRedirect, FifteenthRedirectFailsTheFetch) {
    std::vector<ConnectionScript> scripts;
    for (int i = 1; i <= 16; ++i)
        scripts.push_back(ConnectionScript().Reply(
            RedirectReply(QStringLiteral("/r%1").arg(i), "body " + QByteArray::number(i))));
    ScriptedTcpServer server(std::move(scripts));
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    const std::optional<HttpFailure> failure = client.Get(server.Url("/r0"), body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusCode, 302);
    EXPECT_EQ(server.AcceptedCount(), 15);

    // The count starts again with every fetch: fourteen redirects are still followed.
    std::vector<ConnectionScript> chain;
    for (int i = 1; i <= 14; ++i)
        chain.push_back(ConnectionScript().Reply(RedirectReply(QStringLiteral("/c%1").arg(i))));
    chain.push_back(ConnectionScript().Reply(OkReply("fresh")));
    ScriptedTcpServer next(std::move(chain));
    EXPECT_EQ(client.Get(next.Url("/c0"), body), std::nullopt);
    EXPECT_EQ(body, "fresh");
    EXPECT_EQ(next.AcceptedCount(), 15);
}

TEST(HttpRedirect, RedirectStatusWithoutLocationFails) {
    ScriptedTcpServer server(
        {ConnectionScript().Reply("HTTP/1.0 301 Moved\r\nContent-Length: 0\r\n\r\n")});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    const std::optional<HttpFailure> failure = client.Get(server.Url("/"), body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusCode, 301);
    EXPECT_EQ(server.AcceptedCount(), 1);
}
