// SPDX-License-Identifier: GPL-3.0-or-later
// Waits are bounded: a peer that never accepts or never answers ends the fetch with a failure.
#include "loader/view_tiles.h"
#include "net/http_client.h"
#include "tests/net/http_test_replies.h"
#include "tests/support/scripted_tcp_server.h"
#include "tests/support/temp_dir.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// A listening socket whose queue is full and which never accepts: connecting to it hangs.
class FullListener {
public:
    FullListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        EXPECT_EQ(::listen(fd_, 0), 0);
        EXPECT_EQ(::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len), 0);
        port_ = ntohs(addr.sin_port);
        filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::connect(filler_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }
    ~FullListener() {
        ::close(filler_);
        ::close(fd_);
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;
    int port() const { return port_; }

private:
    int fd_ = -1;
    int filler_ = -1;
    int port_ = 0;
};

template <typename F> std::chrono::milliseconds Elapsed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

} // namespace

TEST(HttpTimeout, ConnectingToAPeerThatNeverAcceptsTimesOut) {
    FullListener listener;
    HttpClientOptions options = QuickOptions();
    options.connectTimeout = 200ms;
    HttpClient client(QStringLiteral("127.0.0.1"), options);
    QByteArray body;
    std::optional<HttpFailure> failure;
    const auto took = Elapsed([&] {
        failure = client.Get(QStringLiteral("http://127.0.0.1:%1/t").arg(listener.port()), body);
    });
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.contains(u"timed out")) << failure->message.toStdString();
    EXPECT_GE(took, 150ms);
    EXPECT_LT(took, 1500ms);
}

TEST(HttpTimeout, PeerThatStopsSendingTimesOut) {
    HttpClientOptions options = QuickOptions();
    options.readTimeout = 200ms;
    const QByteArray replies[] = {"", "HTTP/1.0 200 OK\r\n", OkReply("whole").chopped(2)};
    for (const QByteArray& reply : replies) {
        ScriptedTcpServer server({ConnectionScript().Reply(reply).Stall()});
        HttpClient client(QStringLiteral("127.0.0.1"), options);
        QByteArray body;
        std::optional<HttpFailure> failure;
        const auto took = Elapsed([&] { failure = client.Get(server.Url("/t"), body); });
        ASSERT_TRUE(failure) << reply.constData();
        EXPECT_TRUE(failure->message.contains(u"timed out")) << failure->message.toStdString();
        EXPECT_GE(took, 150ms);
        EXPECT_LT(took, 1500ms);
    }
}

// No single read waits long, yet a peer that drips its reply or redirects slowly must not
// hold the fetch beyond one deadline for all of it.
TEST(HttpTimeout, DeadlineBoundsTheWholeFetch) {
    HttpClientOptions options = QuickOptions();
    options.exchangeTimeout = 700ms;

    ConnectionScript drip;
    drip.Reply("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n");
    for (int i = 0; i < 40; ++i)
        drip.Send("x").Pause(100ms);
    std::vector<ConnectionScript> slowChain;
    for (int i = 1; i <= 6; ++i)
        slowChain.push_back(
            ConnectionScript().Pause(300ms).Reply(RedirectReply(QStringLiteral("/r%1").arg(i))));
    slowChain.push_back(ConnectionScript().Reply(OkReply("late")));

    for (std::vector<ConnectionScript> scripts : {std::vector{drip}, slowChain}) {
        ScriptedTcpServer server(std::move(scripts));
        HttpClient client(QStringLiteral("127.0.0.1"), options);
        QByteArray body;
        std::optional<HttpFailure> failure;
        const auto took = Elapsed([&] { failure = client.Get(server.Url("/r0"), body); });
        EXPECT_TRUE(failure);
        EXPECT_GE(took, 650ms);
        EXPECT_LT(took, 1800ms);
    }
}

TEST(HttpTimeout, WaitingForASilentPeerCallsBackEveryFewMilliseconds) {
    ScriptedTcpServer server({ConnectionScript().Stall()});
    HttpClientOptions options = QuickOptions();
    options.exchangeTimeout = 600ms;
    HttpClient client(QStringLiteral("127.0.0.1"), options);
    int calls = 0;
    client.SetWhileWaiting([&calls] { ++calls; });
    QByteArray body;
    std::optional<HttpFailure> failure;
    const auto took = Elapsed([&] { failure = client.Get(server.Url("/t"), body); });
    EXPECT_TRUE(failure);
    EXPECT_GE(took, 550ms);
    // About every 50 ms, never more often.
    EXPECT_GE(calls, 5);
    EXPECT_LE(calls, took / 50ms + 1);
}

// Whatever runs while a fetch waits must not take over its connection.
TEST(HttpTimeout, FetchAskedForWhileWaitingFailsAtOnce) {
    ScriptedTcpServer silent({ConnectionScript().Stall()});
    ScriptedTcpServer other({ConnectionScript().Reply(OkReply("other"))});
    HttpClientOptions options = QuickOptions();
    options.exchangeTimeout = 300ms;
    HttpClient client(QStringLiteral("127.0.0.1"), options);
    std::optional<std::optional<HttpFailure>> inner;
    client.SetWhileWaiting([&] {
        if (!inner) {
            QByteArray innerBody;
            inner = client.Get(other.Url("/t"), innerBody);
        }
    });
    QByteArray body;
    EXPECT_TRUE(client.Get(silent.Url("/t"), body));
    ASSERT_TRUE(inner);
    EXPECT_TRUE(*inner);
    EXPECT_EQ(other.AcceptedCount(), 0);
}

// The four tiles of a view shown at start-up against a server that never answers: one wait
// for all of them, not four in turn.
TEST(HttpTimeout, TheTilesOfOneViewShareOneWaitForASilentServer) {
    struct Hooks : ViewLoadHooks {
        void PumpEvents() override {}
        void ShowErrorCounts() override {}
        bool CancelRequested() override { return false; }
        void SleepMs(int) override {}
        void ShowTile(int, const TilePixels&) override { ++shown; }
        int shown = 0;
    } hooks;
    FullListener listener;
    HttpClient client(QStringLiteral("127.0.0.1"), {1000ms, 1000ms, 5000ms, 1 << 20});
    TempDir cache;
    const QString prefix = QStringLiteral("http://127.0.0.1:%1/t=").arg(listener.port());
    const ViewUrls urls{prefix + "q", prefix + "r", prefix + "s", prefix + "t"};
    TileCounters counters;
    const auto took = Elapsed([&] {
        LoadView(urls,
                 ViewSource{std::make_shared<PrefixTileSource>(prefix, cache.path()),
                            WorkMode::InternetOnly, client},
                 std::nullopt, counters, hooks);
    });
    EXPECT_EQ(hooks.shown, 4);
    EXPECT_EQ(counters.receiveErrors, 4);
    EXPECT_LT(took, 2500ms);
}
