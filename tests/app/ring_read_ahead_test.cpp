// SPDX-License-Identifier: GPL-3.0-or-later
// The tiles just outside a large view, fetched into the cache once the view is in: from a
// template source only, and given up as soon as the person moves.
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"
#include "tiles/view_moves.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QTimer>

namespace {

class RingReadAheadTest : public WindowTest {
protected:
    // A window of a 3 by 2 block (or of the given width), on the loopback server as a template
    // source of two connections, or as the demo source.
    void Serve(bool templateSource, int width = 700) {
        for (int i = 0; i < 60; ++i)
            http.Reply(MakeTestJpeg(256, 256, Qt::darkGreen));
        Settings settings = DesignSettings();
        settings.windowWidth = width;
        settings.windowHeight = TForm1::kClientHeight;
        if (templateSource) {
            home.write("MySources.ini", ("[near]\nurl = " + Host() +
                                         "/{z}/{x}/{y}.jpg\nconnections = 2\nrate = 1000\n")
                                            .toUtf8());
            settings.sourceName = "near";
        } else {
            prefix = http.Prefix();
            settings.view = {View("q", "r", "s", "t"), static_cast<int>(prefix.size())};
        }
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                                 AddedSettingsLinesOf(settings)));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    }
    QString Host() const { return http.Prefix().section('/', 0, 2); }
    // The view at a level deep enough for the block and its ring to hold no tile twice.
    TForm1& OpenDeep() {
        TForm1& w = Open();
        const ViewUrls four = BlockFromAnchor("qsqs");
        w.viewUrls = View(four[0], four[1], four[2], four[3]);
        QTest::qWait(100); // whatever the first view read ahead is over
        http.requests.clear();
        return w;
    }
    // The template source's URL of the tile cell away from the anchor.
    QString RingUrl(const QString& anchor, BlockCell cell) const {
        const auto key = TileKey::FromLetters(ShiftedLetters(anchor, cell).toStdString());
        return Host() +
               QStringLiteral("/%1/%2/%3.jpg").arg(key->level).arg(key->column).arg(key->row);
    }
    int CachedTiles() const {
        QDirIterator files(home.file("Cash"), {"*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
        int tiles = 0;
        for (; files.hasNext(); files.next())
            ++tiles;
        return tiles;
    }
};

TEST_F(RingReadAheadTest, TheRingIsReadIntoTheCacheFromATemplateSourceOnly) {
    const struct {
        bool templateSource;
        int width;
        BlockSize block;
        qsizetype ring;
    } cases[] = {
        {true, 700, {3, 2}, 14}, {true, TForm1::kClientWidth, {2, 2}, 12}, {false, 700, {3, 2}, 0}};
    for (const auto& each : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2").arg(each.templateSource).arg(each.width).toStdString());
        Serve(each.templateSource, each.width);
        TForm1& w = OpenDeep();
        EXPECT_EQ(w.CurrentBlockSize(), each.block);
        const qsizetype block = each.block.columns * each.block.rows;
        const int cachedBefore = CachedTiles(); // the first view's
        w.RefreshView();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return http.requests.size() >= block + each.ring; }, 5000));
        QTest::qWait(200); // and nothing after them
        EXPECT_EQ(http.requests.size(), block + each.ring);
        if (each.ring > 0) {
            EXPECT_EQ(http.requests.mid(block).count(RingUrl("qsqs", {-1, -1})), 1);
            EXPECT_EQ(CachedTiles(), cachedBefore + block + each.ring);
        }
        Close();
        QDir(home.file("Cash")).removeRecursively();
        http.requests.clear();
    }
}

TEST_F(RingReadAheadTest, AMoveDuringTheRingStopsIt) {
    Serve(true);
    TForm1& w = OpenDeep();
    QTimer poll;
    bool moved = false;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        if (!moved && http.requests.size() >= 6 + 2) {
            moved = true;
            QKeyEvent east(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
            QApplication::sendEvent(&w, &east);
        }
    });
    poll.start(1);
    w.RefreshView();
    EXPECT_TRUE(QTest::qWaitFor([&] { return moved; }, 5000));
    poll.stop();
    QTest::qWait(300); // the new block and its ring
    EXPECT_EQ(Paths()[0], ShiftedLetters("qsqs", {1, 0}));
    // The old ring's west column, last in its order, lies outside the new block and its ring.
    for (const int row : {0, 1, 2})
        EXPECT_FALSE(http.requests.contains(RingUrl("qsqs", {-1, row}))) << row;
    EXPECT_TRUE(http.requests.contains(RingUrl("qsqs", {4, 0}))) << "the new ring is read";
}

} // namespace
