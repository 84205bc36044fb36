// SPDX-License-Identifier: GPL-3.0-or-later
// The window is on screen before the first view loads, and stays painted while tiles are
// awaited from a server that does not answer.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/scripted_tcp_server.h"

#include <QTimer>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// A server that takes every request and never answers it.
std::vector<ConnectionScript> SilentServer() {
    return std::vector<ConnectionScript>(4, ConnectionScript().Stall());
}

// Points the view at server and gives its client short waits.
void UseServer(TForm1& w, const ScriptedTcpServer& server, std::chrono::milliseconds deadline) {
    const QString prefix = server.Url("/kh?t=t");
    w.viewUrls = {prefix + "q", prefix + "r", prefix + "s", prefix + "t"};
    w.prefixLength = static_cast<int>(prefix.size());
    HttpClientOptions options;
    options.exchangeTimeout = deadline;
    w.IdHTTP1.SetOptions(options);
}

// Counts the paint events a widget receives, and notes what a probe says at the first one.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, std::function<int()> probe)
        : widget_(widget), probe_(std::move(probe)) {
        widget_->installEventFilter(this);
    }
    ~PaintCounter() override { widget_->removeEventFilter(this); }
    int paints = 0;
    int probeAtFirstPaint = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && paints++ == 0)
            probeAtFirstPaint = probe_();
        return false;
    }

private:
    QWidget* widget_;
    std::function<int()> probe_;
};

} // namespace

TEST_F(WindowTest, FirstViewLoadsOnceTheWindowIsOnScreen) {
    ScriptedTcpServer server(SilentServer());
    TForm1& w = Build();
    UseServer(w, server, 250ms);
    PaintCounter painted(w.Image1, [&server] { return server.AcceptedCount(); });
    // A server started with the window is waited for after the first paint, before any tile.
    int paintsAtWait = 0;
    int acceptedAtWait = -1;
    w.BeforeFirstView([&] {
        paintsAtWait = painted.paints;
        acceptedAtWait = server.AcceptedCount();
    });

    w.show();
    EXPECT_EQ(server.AcceptedCount(), 0);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    WaitForFirstView();
    EXPECT_EQ(painted.probeAtFirstPaint, 0); // painted before any tile was asked for
    EXPECT_GT(paintsAtWait, 0);
    EXPECT_EQ(acceptedAtWait, 0);
    EXPECT_EQ(server.AcceptedCount(), 4);
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(WindowTest, ClosingBeforeTheFirstViewLoadsIsSafe) {
    ServeFromLoopback();
    Build().show();
    form->close();
    QTest::qWait(100);
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_TRUE(home.exists("ORB.ini"));

    Build().show();
    form.reset(); // the pending first view goes with the window
    QTest::qWait(100);
    EXPECT_TRUE(http.requests.isEmpty());
}

TEST_F(WindowTest, ARefreshStartedBeforeTheFirstViewReplacesIt) {
    ServeFromLoopback();
    TForm1& w = Build();
    w.show();
    w.Button8Click(); // pumps events between tiles, where the first view falls due
    QTest::qWait(100);
    EXPECT_EQ(http.requests.size(), 4);
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(WindowTest, WindowRepaintsWhileTilesWaitForASilentServer) {
    TForm1& w = Open();
    ScriptedTcpServer server(SilentServer());
    UseServer(w, server, 300ms);
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] { w.Label6->setNum(++ticks); });
    ticker.start();
    PaintCounter painted(w.Label6, [] { return 0; });

    const int errorsBefore = w.counters.receiveErrors;
    const auto start = std::chrono::steady_clock::now();
    w.RefreshView();
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(server.AcceptedCount(), 4);
    EXPECT_EQ(w.counters.receiveErrors, errorsBefore + 4);
    // At most one deadline per tile.
    EXPECT_GE(took, 4 * 250ms);
    EXPECT_LT(took, 4 * 300ms + 1000ms);
    // Pumping only between tiles would allow five of each.
    EXPECT_GE(ticks, 10);
    EXPECT_GE(painted.paints, 10);
}
