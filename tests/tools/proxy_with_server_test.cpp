// The program's HTTP client reaching the demo server through a real tinyproxy.
#include "tests/tools/demo_server_process.h"

#include "fetch/http_client.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// A port nobody listens on right now: bound to 0, read back, released.
int FreePort() {
    const tileserver::UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

// tinyproxy in the foreground with Basic authentication for user/pass.
class Tinyproxy {
public:
    Tinyproxy(const TempDir& dir, int port) {
        const QByteArray config = "Port " + QByteArray::number(port) +
                                  "\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth user pass\n"
                                  "Timeout 30\nMaxClients 8\nLogLevel Info\n";
        dir.write("tinyproxy.conf", config);
        process_.setStandardOutputFile(dir.file("tinyproxy.log"));
        process_.setStandardErrorFile(dir.file("tinyproxy.log"), QIODevice::Append);
        process_.start(QStringLiteral("tinyproxy"), {"-d", "-c", dir.file("tinyproxy.conf")});
        QElapsedTimer clock;
        clock.start();
        while (process_.waitForStarted(5000) && process_.state() == QProcess::Running &&
               !ConnectLoopback(port).Valid() && clock.elapsed() < 10000)
            QThread::msleep(50);
        ready_ = process_.state() == QProcess::Running && ConnectLoopback(port).Valid();
    }
    ~Tinyproxy() {
        process_.terminate();
        if (!process_.waitForFinished(10000))
            process_.kill();
        process_.waitForFinished(5000);
    }
    bool Ready() const { return ready_; }

private:
    QProcess process_;
    bool ready_ = false;
};

} // namespace

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
