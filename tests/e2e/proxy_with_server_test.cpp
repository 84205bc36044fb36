// SPDX-License-Identifier: GPL-3.0-or-later
// The program's HTTP client reaching the demo server through a real tinyproxy.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tinyproxy_process.h"

#include "net/http_client.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(ProxyWithServer, TileComesThroughTinyproxyOnlyWithTheRightCredentials) {
    if (QStandardPaths::findExecutable(QStringLiteral("tinyproxy")).isEmpty())
        GTEST_SKIP() << "tinyproxy is not installed";
    TempDir dir;
    DemoServerProcess server(WriteQuadrantWorld(dir), {}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    const int proxyPort = FreePort();
    ASSERT_NE(proxyPort, 0);
    Tinyproxy proxy(dir, proxyPort);
    ASSERT_TRUE(proxy.Ready()) << dir.read("tinyproxy.log").toStdString();

    const QString url = server.TilePrefix() + "rt";
    const RawReply direct = RawGet(server.Port(), "/kh?v=5&n=404&t=trt");
    ASSERT_EQ(direct.status, 200);

    HttpClient http;
    http.SetProxy(ProxySettings{"127.0.0.1", proxyPort, "user", "pass"});
    QByteArray body;
    const std::optional<HttpFailure> good = http.Get(url, body);
    EXPECT_FALSE(good) << good->message.toStdString();
    EXPECT_EQ(body, QByteArray(direct.body.data(), static_cast<qsizetype>(direct.body.size())));

    for (const ProxySettings& wrong : {ProxySettings{"127.0.0.1", proxyPort, "user", "wrong"},
                                       ProxySettings{"127.0.0.1", proxyPort, "", ""}}) {
        http.SetProxy(wrong);
        body.clear();
        const std::optional<HttpFailure> refused = http.Get(url, body);
        ASSERT_TRUE(refused) << wrong.user.toStdString() << ':' << wrong.password.toStdString();
        // tinyproxy answers 401 for a wrong password and 407 for none at all.
        EXPECT_TRUE(refused->statusCode == 401 || refused->statusCode == 407)
            << refused->statusCode;
    }

    // The refused requests never reached the server.
    ASSERT_EQ(server.Stop(), 0);
    EXPECT_EQ(server.LogLines().filter("t=trt -> 200").size(), 2);
}
