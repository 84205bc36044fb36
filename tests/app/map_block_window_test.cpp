// SPDX-License-Identifier: GPL-3.0-or-later
// The map in a window larger than at start: the block it fetches, the drag, the wheel, the
// arrows and the size kept for the next start.
#include "app/graticule_overlay.h"
#include "app/scale_bar_overlay.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QWheelEvent>

namespace {

class MapBlockTest : public WindowTest {
protected:
    // The loopback view, shown at 1280 by 900 once the first block has loaded.
    TForm1& OpenLarge() {
        ServeFromLoopback();
        TForm1& w = Build();
        w.resize(1280, 900);
        w.show();
        WaitForFirstView();
        return w;
    }
    QStringList RequestedPaths(qsizetype from) const {
        QStringList paths;
        for (qsizetype i = from; i < http.requests.size(); ++i)
            paths << http.requests[i].mid(prefix.size());
        return paths;
    }
    // A mouse event at a point of the window, delivered as the grabbing tile sees it where it
    // is now.
    void Send(TileImage* tile, QEvent::Type type, QPoint inWindow, Qt::MouseButtons held) {
        const QPoint at = tile->mapFrom(form.get(), inWindow);
        QMouseEvent event(type, at, tile->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(tile, &event);
    }
};

// The 5 by 3 block of level 1 repeats the world east-west; its third row lies beyond the south
// pole and stays empty.
const QStringList kLevelOneBlock = {"q", "r", "s", "t", "q", "t", "r", "s", "q", "t"};

TEST_F(MapBlockTest, LargeWindowFetchesItsCoveringBlockViewFirst) {
    TForm1& w = OpenLarge();
    EXPECT_EQ(w.CurrentBlockSize(), (BlockSize{5, 3}));
    EXPECT_EQ(RequestedPaths(0), kLevelOneBlock);
    for (TileImage* cell : w.BlockImages())
        EXPECT_EQ(cell->pixmap().isNull(), cell->y() == 512) << cell->x() << "," << cell->y();
    EXPECT_EQ(w.BlockImages()[4]->pos(), QPoint(512, 0));
}

// East of the antimeridian the block shows the west again, and the readout says so.
TEST_F(MapBlockTest, TheReadoutPastTheEastEdgeIsOfTheWorldsWest) {
    TForm1& w = OpenLarge();
    QTest::mouseMove(w.BlockImages()[4], QPoint(100, 60)); // cell (2, 0), the tile "q" again
    EXPECT_EQ(Panel(0), "N79г 41,231мин");
    EXPECT_EQ(Panel(1), "W109г 41,250мин");
}

TEST_F(MapBlockTest, DraggingWestMovesTheAnchorEastOnRelease) {
    TForm1& w = OpenLarge();
    TileImage* tile = w.BlockImages()[5]; // cell (2, 1)
    Send(tile, QEvent::MouseButtonPress, {712, 356}, Qt::LeftButton);
    Send(tile, QEvent::MouseMove, {512, 356}, Qt::LeftButton);
    Send(tile, QEvent::MouseMove, {412, 356}, Qt::LeftButton);
    EXPECT_EQ(w.Image1->pos(), QPoint(-300, 0)); // the picture follows the pointer
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    const qsizetype before = http.requests.size();
    Send(tile, QEvent::MouseButtonRelease, {412, 356}, Qt::NoButton);
    EXPECT_EQ(Paths(), QStringList({"r", "q", "t", "s"}));
    EXPECT_EQ(w.Image1->pos(), QPoint(0, 0));
    EXPECT_EQ(RequestedPaths(before).size(), 10);

    // The map has the keyboard now: an arrow pans by one tile as the pad does.
    QTest::keyClick(tile, Qt::Key_Down);
    EXPECT_EQ(Paths(), QStringList({"s", "t", "q", "r"}));
}

TEST_F(MapBlockTest, AClickWithoutMovementAndTheWheelZoomIntoTheTile) {
    TForm1& w = OpenLarge();
    TileImage* cell = w.BlockImages()[10]; // cell (3, 1), the tile s
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(Paths(), QStringList({"sq", "sr", "ss", "st"}));

    QTest::mouseClick(w.Image1, Qt::RightButton, {}, QPoint(30, 30)); // out again
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    const qsizetype before = http.requests.size();
    QWheelEvent wheel(QPointF(30, 30), cell->mapToGlobal(QPointF(30, 30)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(cell, &wheel);
    EXPECT_EQ(Paths(), QStringList({"sq", "sr", "ss", "st"}));
    const QStringList children = RequestedPaths(before);
    ASSERT_EQ(children.size(), 10); // rows 2 and 3 of level 2, row 4 beyond the pole
    EXPECT_EQ(children.mid(0, 5), QStringList({"sq", "sr", "ss", "st", "tq"}));
}

TEST_F(MapBlockTest, PrefillOfTheVisibleRegionCoversTheWholeBlock) {
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = OpenLarge();
    w.viewUrls = View("qs", "rt", "sq", "tr"); // rows 1 to 3 of level 2, every column
    w.RefreshView();
    w.Edit3->setText("3");
    ASSERT_TRUE(w.Button6->isEnabled()) << w.Label13->text().toStdString();
    http.requests.clear();
    for (int i = 0; i < 6 * 8 + 15; ++i) // the region's tiles, then the view put back
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    w.Button6->click();
    QSet<QString> deeper;
    for (const QString& url : http.requests)
        if (url.size() == prefix.size() + 3)
            deeper << url.mid(prefix.size());
    EXPECT_EQ(deeper.size(), 6 * 8);
    EXPECT_FALSE(deeper.contains("qqq")) << "row 0 lies above the block";
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
}

// Counts a window's paint passes: each one is a request to update it.
struct PaintPasses : QObject {
    int passes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        passes += event->type() == QEvent::UpdateRequest;
        return false;
    }
};

// Tiles read from the cache are drawn a frame at a time, not one pass of the window each.
TEST_F(MapBlockTest, ABlockFromTheCacheIsNotPaintedOnceATile) {
    TForm1& w = OpenLarge();
    w.PageControl1->setCurrentWidget(w.TabSheet4); // builds the settings tab
    w.RadioButton1->click();                       // the cache only
    const qsizetype asked = http.requests.size();
    PaintPasses painted;
    w.installEventFilter(&painted);
    for (int i = 0; i < 3; ++i)
        w.RefreshView();
    EXPECT_EQ(http.requests.size(), asked);
    EXPECT_LT(painted.passes, 3 * kLevelOneBlock.size() / 2); // a pass a tile makes 30
}

TEST_F(MapBlockTest, TheSizeIsKeptOnItsOwnLineOnlyWhenChanged) {
    OpenLarge();
    Close();
    QStringList lines = QString::fromLatin1(home.read("ORB.ini")).split("\r\n");
    ASSERT_EQ(lines.size(), kSettingsLineCount + 3); // and the empty rest after the last break
    EXPECT_EQ(lines[kSettingsLineCount], "demo");
    EXPECT_EQ(lines[kSettingsLineCount + 1], "1280x900");
    TForm1& w = Open();
    EXPECT_EQ(w.size(), QSize(1280, 900));
    w.resize(TForm1::kClientWidth, TForm1::kClientHeight);
    Close();
    lines = QString::fromLatin1(home.read("ORB.ini")).split("\r\n");
    EXPECT_EQ(lines.size(), kSettingsLineCount + 1);
}

TEST_F(MapBlockTest, TheRowOfTheTabsShowsTheWindowBehindItNotTiles) {
    ServeFromLoopback();
    for (int i = 0; i < 40; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::red));
    TForm1& w = Open();
    // Sizes where the last row of tiles reaches under the tabs' own row.
    for (const QSize size : {QSize(700, 680), QSize(900, 690), QSize(512, 670)}) {
        w.resize(size);
        w.viewUrls = View("qq", "qr", "qs", "qt");
        w.RefreshView();
        const QImage window = w.grab().toImage();
        const QPoint besideTabs(size.width() - 4, w.PageControl1->geometry().bottom() - 3);
        EXPECT_EQ(window.pixelColor(besideTabs).name(), w.palette().color(QPalette::Window).name())
            << size.width() << 'x' << size.height();
    }
}

} // namespace

namespace {

TEST_F(WindowTest, TheScaleBarIsOffAtFirstAndMeasuresTheViewsCentre) {
    TForm1& w = Open();
    EXPECT_FALSE(w.ScaleBarView->isVisible());
    w.ScaleCheck->click();
    ASSERT_TRUE(w.ScaleBarView->isVisible());
    EXPECT_EQ(w.ScaleBarView->Text(), "10000 км"); // at the equator, level 1
    EXPECT_LE(w.ScaleBarView->geometry().bottom(), w.PageControl1->y());
    w.ScaleCheck->click();
    EXPECT_FALSE(w.ScaleBarView->isVisible());
}

TEST_F(WindowTest, TheGridIsOffAtFirstAndDrawsOverTheMap) {
    TForm1& w = Open();
    EXPECT_FALSE(w.GraticuleView->isVisible());
    const QImage before = w.grab(QRect(0, 0, 512, 512)).toImage();
    w.GridCheck->click();
    ASSERT_TRUE(w.GraticuleView->isVisible());
    // The world at level 1: 4 meridians and the equator.
    EXPECT_EQ(w.GraticuleView->Lines().size(), 5u);
    EXPECT_NE(w.grab(QRect(0, 0, 512, 512)).toImage(), before);
    w.GridCheck->click();
    EXPECT_EQ(w.grab(QRect(0, 0, 512, 512)).toImage(), before);
}

// A label that would lie over one placed before it is left out; those left never overlap.
TEST(GraticuleLabels, ALabelInTheWayOfAnotherIsLeftOut) {
    const QFontMetrics metrics(QApplication::font());
    const auto meridian = [](double x) { return GraticuleLine{true, x, "W180г 0мин"}; };
    const auto parallel = [](double y) { return GraticuleLine{false, y, "N0г 0мин"}; };
    const struct {
        std::vector<GraticuleLine> lines;
        std::vector<bool> shown;
    } cases[] = {
        {{meridian(0), meridian(128), parallel(256)}, {true, true, true}},
        // The equator along the top edge, where the first meridian's label is.
        {{meridian(0), meridian(256), parallel(0)}, {true, true, false}},
        {{meridian(0), meridian(256), parallel(1.5)}, {true, true, false}},
        {{meridian(300), parallel(0)}, {true, true}},
        {{meridian(0), meridian(6), parallel(300), parallel(306)}, {true, false, true, false}},
    };
    for (const auto& c : cases) {
        const std::vector<QRect> boxes = GraticuleLabelBoxes(c.lines, metrics);
        ASSERT_EQ(boxes.size(), c.lines.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(!boxes[i].isEmpty(), c.shown[i]) << &c - cases << ':' << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(boxes[i].intersects(boxes[j])) << &c - cases << ':' << i;
        }
    }
}

} // namespace
