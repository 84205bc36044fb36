// SPDX-License-Identifier: GPL-3.0-or-later
// A large view from a source of several connections, against the demo server 50 ms away:
// how many round trips its tiles take, and a zoom made while they load.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"
#include "tiles/view_moves.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

class BlockNetworkTest : public WindowTest {
protected:
    void SetUp() override {
        home.write("world.jpg", MakeTestJpeg(64, 32, Qt::darkGreen));
        server.setStandardErrorFile(home.file("server.log"));
        server.start(QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist-tileserver"),
                     {"--image", home.file("world.jpg"), "--port", "0", "--delay-ms", "50",
                      // and gone with the tests, should they end before their tear-down
                      "--parent", QString::number(QCoreApplication::applicationPid())});
        ASSERT_TRUE(server.waitForStarted(10000));
        while (!server.canReadLine() && server.waitForReadyRead(20000)) {
        }
        const QString ready = QString::fromUtf8(server.readLine()).trimmed();
        const int port = ready.section(u':', -1).toInt();
        ASSERT_GT(port, 0) << ready.toStdString();
        home.write("MySources.ini", QStringLiteral("[near]\nurl = http://127.0.0.1:%1/{z}/{x}/{y}"
                                                   ".jpg\nconnections = 4\nrate = 1000\n")
                                        .arg(port)
                                        .toUtf8());
        Settings settings = DesignSettings();
        settings.sourceName = "near";
        settings.windowWidth = 1280;
        settings.windowHeight = 1000; // a block of 5 by 4
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                                 AddedSettingsLinesOf(settings)));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    }
    void TearDown() override {
        server.terminate();
        server.waitForFinished(20000);
    }
    // The server's answers to tiles of the level so far: how many were open at once with each.
    QList<int> OpenAtOnce(int level) const {
        QFile file(home.file("server.log"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        static const QRegularExpression line(QStringLiteral("GET /(\\d+)/.* open=(\\d+)"));
        QList<int> open;
        for (const QByteArray& each : file.readAll().split('\n'))
            if (const auto match = line.match(QString::fromUtf8(each));
                match.hasMatch() && match.captured(1).toInt() == level)
                open << match.captured(2).toInt();
        return open;
    }
    // Each answer waits the server's delay beside the others open with it: the answers' shares
    // of a delay add up to the round trips the tiles took, however the client spread them.
    static int RoundTrips(const QList<int>& open) {
        double trips = 0;
        for (const int beside : open)
            trips += 1.0 / std::max(beside, 1);
        return static_cast<int>(std::ceil(trips - 1e-9));
    }
    void WheelOver(TileImage* tile) {
        QWheelEvent wheel(QPointF(30, 30), tile->mapToGlobal(QPointF(30, 30)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(tile, &wheel);
    }

    QProcess server;
};

TEST_F(BlockNetworkTest, TwentyTilesTakeAFewRoundTrips) {
    TForm1& w = Open();
    ASSERT_EQ(w.CurrentBlockSize(), (BlockSize{5, 4}));
    const ViewUrls four = BlockFromAnchor("qsqs"); // level 4, no tile twice in the block
    w.viewUrls = View(four[0], four[1], four[2], four[3]);
    w.RefreshView();
    const QList<int> open = OpenAtOnce(4);
    ASSERT_EQ(open.size(), 20);
    // Five with all four connections busy; one at a time takes 20, two at a time 10. A loaded
    // machine answers a tile late now and then, which costs a round trip or two, not five.
    EXPECT_LE(RoundTrips(open), 9);
}

TEST_F(BlockNetworkTest, AZoomDuringTheLoadIsTakenAndTheOldBlockLeftUnasked) {
    TForm1& w = Open();
    const ViewUrls four = BlockFromAnchor("qsqs");
    w.viewUrls = View(four[0], four[1], four[2], four[3]);
    // Once the first tiles of the block are in, the wheel over the cell beside the view.
    QTimer poll;
    bool zoomed = false;
    qsizetype answeredBefore = 0;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        if (!zoomed && OpenAtOnce(4).size() >= 4) {
            zoomed = true;
            answeredBefore = OpenAtOnce(4).size();
            WheelOver(w.BlockImages()[4]); // cell (2, 0): the tile east of the view's
        }
    });
    poll.start(5);
    w.RefreshView();
    poll.stop();
    ASSERT_TRUE(zoomed);
    EXPECT_EQ(Paths(), QStringList({"qsrsq", "qsrsr", "qsrss", "qsrst"}));
    EXPECT_EQ(OpenAtOnce(5).size(), 20);
    // Only the requests under way at the wheel, one per connection, may still be answered.
    EXPECT_LE(OpenAtOnce(4).size(), answeredBefore + 4)
        << "the rest of the old block is never asked for";
    EXPECT_EQ(w.Label6->text(), "5");
}

} // namespace
