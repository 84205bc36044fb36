// SPDX-License-Identifier: GPL-3.0-or-later
// How replies are read: status, headers, the three kinds of body, and malformed or cut replies.
#include "net/http_client.h"
#include "tests/net/http_test_replies.h"
#include "tests/support/scripted_tcp_server.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

// One connection that answers the request with reply and then closes.
std::optional<HttpFailure> FetchReply(const QByteArray& reply, QByteArray& body,
                                      HttpClientOptions options = QuickOptions()) {
    ScriptedTcpServer server({ConnectionScript().Reply(reply)});
    HttpClient client(QStringLiteral("127.0.0.1"), options);
    return client.Get(server.Url("/t"), body);
}

} // namespace

TEST(HttpReply, ErrorStatusFailsWithCodeAndTextAndLeavesAKeptConnectionForTheNextRequest) {
    ScriptedTcpServer server({ConnectionScript()
                                  .Reply("HTTP/1.0 404 Not Found\r\nConnection: Keep-Alive\r\n"
                                         "Content-Length: 4\r\n\r\nnone")
                                  .Reply(OkReply("tile")),
                              ConnectionScript().Reply(OkReply("again"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    const std::optional<HttpFailure> failure = client.Get(server.Url("/a"), body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusCode, 404);
    EXPECT_EQ(failure->statusText, "404 Not Found");

    EXPECT_EQ(client.Get(server.Url("/b"), body), std::nullopt);
    EXPECT_EQ(body, "tile");
    EXPECT_EQ(server.AcceptedCount(), 1);
    // After a success the connection is closed, so the next fetch connects anew.
    EXPECT_EQ(client.Get(server.Url("/c"), body), std::nullopt);
    EXPECT_EQ(body, "again");
    EXPECT_EQ(server.AcceptedCount(), 2);
}

// An HTTP/1.0 peer closes after every reply, often a moment after its last byte: a request
// sent into that connection would fail although the server never saw it.
TEST(HttpReply, ErrorReplyWithoutKeepAliveClosesTheConnection) {
    ScriptedTcpServer server(
        {ConnectionScript().Reply("HTTP/1.0 500 Oops\r\nContent-Length: 2\r\n\r\nno").Stall(),
         ConnectionScript().Reply(OkReply("tile"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    QByteArray body;
    ASSERT_TRUE(client.Get(server.Url("/a"), body));
    EXPECT_EQ(client.Get(server.Url("/b"), body), std::nullopt);
    EXPECT_EQ(body, "tile");
    EXPECT_EQ(server.AcceptedCount(), 2);
}

TEST(HttpReply, BodyWithoutLengthIsReadUntilTheClose) {
    QByteArray body;
    EXPECT_EQ(FetchReply("HTTP/1.0 200 OK\r\nServer: x\r\n\r\nno length", body), std::nullopt);
    EXPECT_EQ(body, "no length");
}

// We ask for keep-alive, so a server may well leave the connection open after an empty body:
// waiting for its close would cost a read time-out and then fail.
TEST(HttpReply, EmptyBodiesEndAtOnceOnAConnectionLeftOpen) {
    HttpClientOptions slow = QuickOptions();
    slow.readTimeout = std::chrono::milliseconds(5000);
    const auto start = std::chrono::steady_clock::now();
    QByteArray body = "stale";
    const QByteArray emptyOk[] = {
        "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n",
        "HTTP/1.1 204 No Content\r\n\r\n", // never has a body, whatever it announces
    };
    for (const QByteArray& reply : emptyOk) {
        ScriptedTcpServer server({ConnectionScript().Reply(reply).Stall()});
        HttpClient client(QStringLiteral("127.0.0.1"), slow);
        EXPECT_EQ(client.Get(server.Url("/t"), body), std::nullopt) << reply.constData();
        EXPECT_EQ(body, "");
    }

    ScriptedTcpServer target({ConnectionScript().Reply(OkReply("tile"))});
    ScriptedTcpServer mover(
        {ConnectionScript()
             .Reply("HTTP/1.1 302 Found\r\nLocation: " + target.Url("/t").toLatin1() +
                    "\r\nContent-Length: 0\r\n\r\n")
             .Stall()});
    HttpClient client(QStringLiteral("127.0.0.1"), slow);
    EXPECT_EQ(client.Get(mover.Url("/t"), body), std::nullopt);
    EXPECT_EQ(body, "tile");

    ScriptedTcpServer unchanged(
        {ConnectionScript().Reply("HTTP/1.1 304 Not Modified\r\n\r\n").Stall()});
    const std::optional<HttpFailure> failure = client.Get(unchanged.Url("/t"), body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusCode, 304);
    // Four exchanges, none of them waiting for the read time-out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
}

TEST(HttpReply, ChunkedBodyIsReassembled) {
    const QByteArray chunk26(26, 'z');
    QByteArray body;
    EXPECT_EQ(FetchReply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                         "1a trailing text\r\n" +
                             chunk26 + "\r\n3;name=value\r\nabc\r\n0\r\nX-Trailer: 1\r\n\r\n",
                         body),
              std::nullopt);
    EXPECT_EQ(body, chunk26 + "abc");
    // A folded header line is part of the header before it, and the coding name has no case.
    EXPECT_EQ(FetchReply("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip,\r\n\tChunked\r\n\r\n"
                         "2\r\nok\r\n0\r\n\r\n",
                         body),
              std::nullopt);
    EXPECT_EQ(body, "ok");
}

TEST(HttpReply, MalformedRepliesFail) {
    const QByteArray replies[] = {
        "HTTP/1.0 abc OK\r\n\r\n",                                     // status code not a number
        "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nbody",           // negative length
        "HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n\r\nbody",        // length not a number
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", // size not a number
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
        "ffffffffffffffffffff\r\nx", // size overflows
    };
    for (const QByteArray& reply : replies) {
        QByteArray body;
        EXPECT_TRUE(FetchReply(reply, body)) << reply.constData();
    }
}

TEST(HttpReply, ConnectionClosedTooEarlyFails) {
    const QByteArray replies[] = {
        "",
        "HTTP/1.0 200 OK\r\nContent-Le",
        "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nshort",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab",
    };
    for (const QByteArray& reply : replies) {
        QByteArray body;
        EXPECT_TRUE(FetchReply(reply, body)) << reply.constData();
    }
}

TEST(HttpReply, BodiesBeyondTheLimitFail) {
    QByteArray body;
    // Announced beyond the default limit: refused before any body is read or allocated.
    const std::optional<HttpFailure> announced =
        FetchReply("HTTP/1.0 200 OK\r\nContent-Length: 67108865\r\n\r\nx", body);
    ASSERT_TRUE(announced);
    EXPECT_EQ(announced->statusCode, 200);

    HttpClientOptions small = QuickOptions();
    small.bodyLimit = 10;
    EXPECT_FALSE(FetchReply(OkReply("0123456789"), body, small));
    EXPECT_TRUE(FetchReply("HTTP/1.0 200 OK\r\n\r\n0123456789A", body, small));
    EXPECT_TRUE(FetchReply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                           "6\r\n012345\r\n6\r\n012345\r\n0\r\n\r\n",
                           body, small));
}

TEST(HttpReply, ConnectionThatThePeerClosedAfterAnErrorIsOpenedAgain) {
    ScriptedTcpServer proxy({ConnectionScript().Reply("HTTP/1.0 500 Broken\r\n\r\nread to close"),
                             ConnectionScript().Reply(OkReply("tile"))});
    HttpClient client(QStringLiteral("127.0.0.1"), QuickOptions());
    client.SetProxy(ProxyFromFields("127.0.0.1", QString::number(proxy.port()), {}, {}));
    QByteArray body;
    const std::optional<HttpFailure> failure = client.Get("http://h/a", body);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->statusText, "500 Broken");
    EXPECT_EQ(client.Get("http://h/b", body), std::nullopt);
    EXPECT_EQ(body, "tile");
}
