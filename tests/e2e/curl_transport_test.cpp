// SPDX-License-Identifier: GPL-3.0-or-later
// Template sources over libcurl against real servers on loopback: the demo server, nginx with
// TLS in front of it, and tinyproxy.
#include "loader/curl_http_get.h"
#include "loader/source_services.h"
#include "loader/tile_cache.h"
#include "net/curl_transport.h"
#include "net/transfer_window.h"
#include "orbivist_version.h"
#include "sources/url_template.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tinyproxy_process.h"
#include "tests/e2e/tls_front.h"
#include "tests/support/scripted_tcp_server.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <mutex>

namespace {

SourceDefinition Source(int connections, TileFormat format = TileFormat::Jpeg) {
    SourceDefinition source;
    source.name = "test";
    source.connections = connections;
    source.format = format;
    return source;
}

struct Done {
    UrlFetch fetch;
    qint64 atMs = 0;
};

// Fetches urls and gives each result in the order of urls, with when it came.
std::vector<Done> Fetch(const SourceDefinition& source, const TransportSettings& settings,
                        const QStringList& urls) {
    CurlTransport transport(source.connections, settings);
    std::vector<Done> results(static_cast<std::size_t>(urls.size()));
    QElapsedTimer clock;
    clock.start();
    const bool finished = transport.FetchAll(
        urls,
        [&](qsizetype i, UrlFetch fetch) {
            results[static_cast<std::size_t>(i)] = {std::move(fetch), clock.elapsed()};
        },
        [] { return true; });
    EXPECT_TRUE(finished);
    return results;
}

// A reply whose body is the request's target.
QByteArray TargetReply(const QByteArray& request) {
    const QByteArray target = request.split(' ').value(1);
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(target.size()) +
           "\r\nConnection: close\r\n\r\n" + target;
}

QByteArray Bytes(const RawReply& reply) {
    return QByteArray(reply.body.data(), static_cast<qsizetype>(reply.body.size()));
}

class TemplateSourceOverTls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0);
        if (front.Port() == 0)
            GTEST_SKIP() << front.Problem().toStdString();
        settings.caFile = front.CaFile();
    }

    TempDir dir;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("server.log")};
    TlsFront front{dir, server.Port()};
    TransportSettings settings;
};

} // namespace

TEST_F(TemplateSourceOverTls, TilesMatchTheDemoServersAndPngTilesArriveAsPng) {
    const QByteArray direct = Bytes(RawGet(server.Port(), "/kh?v=5&n=404&t=tqs"));
    const QString urlTemplate = front.Url("/{z}/{x}/{y}.");
    const std::vector<Done> got =
        Fetch(Source(2), settings, {ExpandUrlTemplate(urlTemplate + "jpg", {}, 2, 1, 1)});
    ASSERT_EQ(got[0].fetch.result, UrlFetch::Result::Data) << got[0].fetch.message.toStdString();
    EXPECT_EQ(got[0].fetch.body, direct);
    EXPECT_EQ(got[0].fetch.bytesReceived, direct.size());

    CurlHttpGet pngSource(Source(2, TileFormat::Png), settings);
    QByteArray png;
    const std::optional<HttpFailure> failure =
        pngSource.Get(ExpandUrlTemplate(urlTemplate + "png", {}, 2, 1, 1), png);
    ASSERT_FALSE(failure) << failure->message.toStdString();
    // The server's own PNG, of the same picture.
    EXPECT_EQ(png, Bytes(RawGet(server.Port(), "/2/1/1.png")));
    const QImage decoded = QImage::fromData(png, "PNG");
    const QImage reference = QImage::fromData(direct, "JPEG");
    ASSERT_EQ(decoded.size(), QSize(256, 256));
    for (const QPoint p : {QPoint(10, 10), QPoint(128, 128), QPoint(250, 200)})
        EXPECT_NEAR(qGray(decoded.pixel(p)), qGray(reference.pixel(p)), 12);
}

TEST_F(TemplateSourceOverTls, ACertificateFromAnotherCaIsAReceiveError) {
    settings.caFile = MakeTestCa(dir, "another-ca");
    const std::vector<Done> got = Fetch(Source(1), settings, {front.Url("/1/0/0.jpg")});
    EXPECT_EQ(got[0].fetch.result, UrlFetch::Result::ReceiveError);
    EXPECT_TRUE(got[0].fetch.message.contains("certificate")) << got[0].fetch.message.toStdString();
}

TEST_F(TemplateSourceOverTls, IsNeverRedirectedIntoClearText) {
    const std::vector<Done> got = Fetch(Source(1), settings, {front.Url("/to-http/")});
    EXPECT_EQ(got[0].fetch.result, UrlFetch::Result::ReceiveError);
    EXPECT_TRUE(got[0].fetch.body.isEmpty());
}

TEST_F(TemplateSourceOverTls, GoesThroughTinyproxyWithBasicAuthentication) {
    const int proxyPort = FreePort();
    Tinyproxy proxy(dir, proxyPort);
    ASSERT_TRUE(proxy.Ready()) << dir.read("tinyproxy.log").toStdString();
    const QByteArray direct = Bytes(RawGet(server.Port(), "/kh?v=5&n=404&t=tr"));
    for (const char* password : {"pass", "wrong"}) {
        settings.proxy = ProxySettings{"127.0.0.1", proxyPort, "user", password};
        const std::vector<Done> got = Fetch(Source(1), settings, {front.Url("/1/1/0.jpg")});
        const bool right = password == std::string("pass");
        EXPECT_EQ(got[0].fetch.result,
                  right ? UrlFetch::Result::Data : UrlFetch::Result::ReceiveError);
        EXPECT_EQ(got[0].fetch.body == direct, right) << password;
    }
}

TEST_F(TemplateSourceOverTls, TooManyRequestsWithRetryAfterHoldsTheNextRequest) {
    const std::vector<Done> got =
        Fetch(Source(1), settings, {front.Url("/busy/1"), front.Url("/1/0/0.jpg")});
    EXPECT_EQ(got[0].fetch.result, UrlFetch::Result::ReceiveError);
    EXPECT_EQ(got[0].fetch.statusCode, 429);
    EXPECT_EQ(got[1].fetch.result, UrlFetch::Result::Data);
    EXPECT_GE(got[1].atMs - got[0].atMs, 1900);
}

TEST(TemplateSource, OpensNoMoreConnectionsThanTheSourceAllows) {
    TempDir dir;
    DemoServerProcess server(WriteQuadrantWorld(dir), {"--delay-ms", "300"}, dir.file("log"));
    ASSERT_NE(server.Port(), 0);
    QStringList urls;
    for (quint32 i = 0; i < 12; ++i)
        urls << ExpandUrlTemplate(
            QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.jpg").arg(server.Port()), {}, 2, i % 4,
            i / 4);
    for (const Done& done : Fetch(Source(3), {}, urls))
        EXPECT_EQ(done.fetch.result, UrlFetch::Result::Data) << done.fetch.message.toStdString();
    ASSERT_EQ(server.Stop(), 0);
    // As many requests waited for their answers at once as the source allows, never more.
    static const QRegularExpression open(QStringLiteral(" open=(\\d+)"));
    int most = 0;
    for (const QString& line : server.LogLines())
        most = std::max(most, open.match(line).captured(1).toInt());
    EXPECT_EQ(most, 3);
}

TEST(TemplateSource, AsksForTheQuadkeyAndNamesOrbivistAndTheContact) {
    ScriptedTcpServer peer({ConnectionScript().Reply("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n"
                                                     "Connection: close\r\n\r\nhello")});
    TransportSettings settings;
    settings.contact = "me@example.org";
    const std::vector<Done> got =
        Fetch(Source(1), settings, {ExpandUrlTemplate(peer.Url("/a{q}.jpeg"), {}, 3, 3, 5)});
    EXPECT_EQ(got[0].fetch.body, "hello");
    const QByteArray request = peer.Received().at(0);
    EXPECT_TRUE(request.startsWith("GET /a213.jpeg HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains(QByteArray("\r\nUser-Agent: Orbivist/") + kOrbivistVersion +
                                 " (+me@example.org)\r\n"))
        << request.toStdString();
}

TEST(TemplateSource, ARetryAfterOfADayHoldsTheSourceButCanBeStopped) {
    // As a number of seconds, and as the date a day from now.
    const QByteArray tomorrow =
        QLocale::c()
            .toString(QDateTime::currentDateTimeUtc().addDays(1), "ddd, dd MMM yyyy hh:mm:ss")
            .toLatin1() +
        " GMT";
    for (const QByteArray& retryAfter : {QByteArray("86400"), tomorrow}) {
        ScriptedTcpServer peer({ConnectionScript().Reply(
            "HTTP/1.1 503 Busy\r\nRetry-After: " + retryAfter + "\r\nContent-Length: 0\r\n\r\n")});
        CurlTransport transport(1, {});
        UrlFetch got;
        transport.FetchAll(
            {peer.Url("/1/0/0.jpg")}, [&](qsizetype, UrlFetch f) { got = f; }, [] { return true; });
        EXPECT_EQ(got.result, UrlFetch::Result::ReceiveError);

        // The next tiles wait, without a connection, until the user stops them.
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(transport.FetchAll(
            {peer.Url("/1/0/1.jpg")}, [](qsizetype, UrlFetch) {},
            [&] { return clock.elapsed() < 300; }));
        EXPECT_LT(clock.elapsed(), 1300) << retryAfter.data();
        EXPECT_EQ(peer.AcceptedCount(), 1) << retryAfter.data();
    }
}

TEST(TemplateSource, ReadAheadHoldsABoundedTotalAndNoTileLargerThanTheCacheTakes) {
    const QByteArray large(3 * 1024 * 1024, 'x'); // a tile the cache would still keep
    ScriptedTcpServer peer({}, [&](const QByteArray& request) {
        const QByteArray body =
            request.startsWith("GET /huge") ? QByteArray(kLargestTileFile + 1, 'x') : large;
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    });
    CurlHttpGet http(Source(2), TransportSettingsWith({})); // 16 tiles read ahead
    QStringList urls;
    for (int i = 0; i < 16; ++i)
        urls << peer.Url(QStringLiteral("/%1.jpg").arg(i));
    qsizetype next = 0;
    http.ReadAheadAlong([&]() -> std::optional<QString> {
        return next < urls.size() ? std::optional(urls[next++]) : std::nullopt;
    });
    for (const QString& url : urls) {
        QByteArray body;
        EXPECT_FALSE(http.Get(url, body));
        EXPECT_EQ(body.size(), large.size());
    }
    // The read-ahead stopped at its budget rather than let a tile go: none was fetched twice.
    EXPECT_EQ(peer.AcceptedCount(), 16);
    QByteArray body;
    EXPECT_TRUE(http.Get(peer.Url("/huge.jpg"), body));
    EXPECT_TRUE(body.isEmpty());
}

TEST(TemplateSource, AWindowOfTransfersStartsThemOneByOneAndDropsThoseNoLongerWanted) {
    ScriptedTcpServer peer({}, TargetReply);
    CurlTransport transport(2, {});
    TransferWindow window(transport);
    ASSERT_TRUE(window.usable());
    // The connections are the window's while it lives.
    EXPECT_FALSE(TransferWindow(transport).usable());
    EXPECT_FALSE(transport.FetchAll(
        {peer.Url("/x")}, [](qsizetype, UrlFetch) {}, [] { return true; }));
    std::map<qsizetype, QByteArray> got;
    const auto done = [&](qsizetype id, UrlFetch fetch) { got[id] = fetch.body; };
    window.Start(peer.Url("/a"), 1, done);
    window.Start(peer.Url("/b"), 2, done);
    EXPECT_FALSE(window.HasRoom());
    window.Drop(2);
    EXPECT_TRUE(window.HasRoom());
    window.Start(peer.Url("/c"), 3, done);
    while (window.running() > 0) {
        window.Pump(done);
        window.Wait(CurlTransport::kPumpInterval);
    }
    EXPECT_EQ(got, (std::map<qsizetype, QByteArray>{{1, "/a"}, {3, "/c"}}));
}

TEST(TemplateSource, ReadAheadFetchesEachTileOfTheWalkOnceAndARetryAlone) {
    std::mutex mutex;
    std::map<QByteArray, int> asked;
    ScriptedTcpServer peer({}, [&](const QByteArray& request) {
        std::lock_guard lock(mutex);
        ++asked[request.split(' ').value(1)];
        return TargetReply(request);
    });
    CurlHttpGet http(Source(3), {});
    QStringList walk; // every third tile is cached: nothing to fetch
    for (int i = 0; i < 40; ++i)
        walk << (i % 3 == 1 ? QString() : peer.Url(QStringLiteral("/%1").arg(i)));
    qsizetype next = 0;
    http.ReadAheadAlong([&]() -> std::optional<QString> {
        return next < walk.size() ? std::optional(walk[next++]) : std::nullopt;
    });
    for (const QString& url : walk) {
        if (url.isEmpty())
            continue;
        QByteArray body;
        EXPECT_FALSE(http.Get(url, body));
        EXPECT_EQ("http://127.0.0.1:" + QByteArray::number(peer.port()) + body, url.toUtf8());
    }
    QByteArray body;
    EXPECT_FALSE(http.Get(walk.last(), body)); // asked again: fetched again
    std::lock_guard lock(mutex);
    EXPECT_EQ(asked.size(), 27u);
    for (const auto& [target, times] : asked)
        EXPECT_EQ(times, target == "/39" ? 2 : 1) << target.toStdString();
}

TEST(TemplateSource, AFetchAskedWhileTheReadAheadWaitsFailsAtOnceAndAStopEndsTheWait) {
    ScriptedTcpServer peer({ConnectionScript().Stall(), ConnectionScript().Stall()}, TargetReply);
    CurlHttpGet http(Source(2), {});
    std::optional<HttpFailure> inner;
    int waits = 0;
    http.SetWhileWaiting([&] {
        if (!inner) {
            QByteArray body;
            inner = http.Get(peer.Url("/inner"), body);
        }
    });
    http.SetStopWaiting([&] { return ++waits > 3; });
    const QStringList walk{peer.Url("/0"), peer.Url("/1")};
    qsizetype next = 0;
    http.ReadAheadAlong([&]() -> std::optional<QString> {
        return next < walk.size() ? std::optional(walk[next++]) : std::nullopt;
    });
    QByteArray body;
    const std::optional<HttpFailure> stopped = http.Get(walk[0], body);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->message, "the fetch was stopped");
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->message, "the fetch was stopped");
    // The transfers under way were dropped; the source serves the next tile.
    http.SetStopWaiting({});
    EXPECT_FALSE(http.Get(peer.Url("/2"), body));
    EXPECT_EQ(body, "/2");
}
