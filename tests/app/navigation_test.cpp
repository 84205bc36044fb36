// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/marker_image.h"
#include "app/rx_slider.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"

#include "tiles/neighbours.h"
#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Types characters the way a keyboard layout delivers them: as text, whatever the key.
void Type(QWidget* field, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

} // namespace

TEST_F(WindowTest, UpperTilesZoomOnPressLowerTilesOnRelease) {
    TForm1& w = Open();
    QTest::mousePress(w.Image3, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"})); // nothing yet on the press
    QTest::mouseRelease(w.Image3, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(Paths(), QStringList({"sq", "sr", "ss", "st"}));
    EXPECT_EQ(w.RxSlider1->value(), 2);

    // Right button at level 2: back to the anchor's grandparent, the whole world.
    QTest::mousePress(w.Image2, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    // Right button at level 1 zooms in like the left one.
    QTest::mousePress(w.Image2, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(Paths(), QStringList({"rq", "rr", "rs", "rt"}));
    QTest::mouseRelease(w.Image2, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(Paths(), QStringList({"rq", "rr", "rs", "rt"}));

    QTest::mousePress(w.Image1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Paths(), QStringList({"rqq", "rqr", "rqs", "rqt"}));
    QTest::mousePress(w.Image4, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(w.Image4, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Paths(), QStringList({"rqtq", "rqtr", "rqts", "rqtt"}));
    EXPECT_EQ(w.Label6->text(), "4");
}

TEST_F(WindowTest, ArrowPadPansAndWrapsAroundTheWorld) {
    TForm1& w = Open();
    w.pad[5]->click(); // east
    EXPECT_EQ(Paths(), QStringList({"r", "q", "t", "s"}));
    w.pad[0]->click(); // north-west
    EXPECT_EQ(Paths(), QStringList({"t", "s", "r", "q"}));

    // From the middle of level 2 (anchor in row 1, column 1), each button in pad order.
    const QStringList expected[9] = {
        {"qq", "qr", "qs", "qt"},
        {"qr", "rq", "rt", "qs"},
        {"rq", "rr", "rs", "rt"},
        {"qt", "qs", "tr", "tq"},
        {},
        {"rt", "rs", "sr", "sq"},
        {"tq", "tr", "ts", "tt"},
        {"tr", "sq", "st", "ts"},
        {"sq", "sr", "ss", "st"},
    };
    for (int i = 0; i < 9; ++i) {
        if (i == 4)
            continue; // the centre zooms
        w.viewUrls = View("qs", "rt", "sq", "tr");
        w.pad[i]->click();
        EXPECT_EQ(Paths(), expected[i]) << "button " << i;
    }
}

TEST_F(WindowTest, SliderKeysAndPadCentreZoomAboutTheCentre) {
    ServeFromLoopback();
    TForm1& w = Open();
    w.RxSlider1->setFocus();
    QTest::keyClick(w.RxSlider1, Qt::Key_Right);
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
    QTest::keyClick(w.RxSlider1, Qt::Key_End);
    EXPECT_EQ(w.Label6->text(), "20");
    EXPECT_EQ(w.viewUrls[0].size() - w.prefixLength, 20);
    EXPECT_EQ(Panel(0), "N0г 0,00000мин"); // the centre stayed put
    QTest::keyClick(w.RxSlider1, Qt::Key_Home);
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    // Modified keys are not zoom commands.
    QTest::keyClick(w.RxSlider1, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(w.RxSlider1->value(), 1);

    QTest::mousePress(w.pad[4], Qt::LeftButton);
    EXPECT_EQ(w.RxSlider1->value(), 2);
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
    QTest::mousePress(w.pad[4], Qt::RightButton);
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    http.requests.clear();
    QTest::mousePress(w.pad[4], Qt::MiddleButton); // no change, but the view reloads
    EXPECT_EQ(http.requests.size(), 4);
}

TEST_F(WindowTest, LevelTwentyClickGivesLevelTwentyOneAndThePadClampsBack) {
    TForm1& w = Open();
    w.RxSlider1->setFocus();
    QTest::keyClick(w.RxSlider1, Qt::Key_End);
    QTest::mousePress(w.Image1, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(w.viewUrls[0].size() - w.prefixLength, 21);
    EXPECT_EQ(w.RxSlider1->value(), 20);
    EXPECT_EQ(Panel(2), "21");
    QTest::mousePress(w.pad[4], Qt::LeftButton);
    EXPECT_EQ(w.viewUrls[0].size() - w.prefixLength, 20);
}

TEST_F(WindowTest, MouseReadOutShowsThePointUnderThePointer) {
    TForm1& w = Open();
    QTest::mouseMove(w.Image1, QPoint(100, 60));
    EXPECT_EQ(Panel(0), "N79г 41,231мин");
    EXPECT_EQ(Panel(1), "W109г 41,250мин");
    QTest::mouseMove(w.Image3, QPoint(100, 60));
    EXPECT_EQ(Panel(0), "S38г 49,355мин");
    EXPECT_EQ(Panel(1), "E70г 18,750мин");
}

TEST_F(WindowTest, CoordinateFieldsFilterKeysAndPickHemispheres) {
    TForm1& w = Open();
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Edit7->setFocus();
    Type(w.Edit7, "55.30.5.");
    EXPECT_EQ(w.Edit7->text(), "55°30,5'");
    Type(w.Edit7, "9x"); // nothing after the closing apostrophe
    EXPECT_EQ(w.Edit7->text(), "55°30,5'");
    Type(w.Edit7, "ы"); // the S key on a Russian layout
    EXPECT_EQ(w.SCB->currentIndex(), 1);
    QTest::keyClick(w.Edit7, Qt::Key_Backspace);
    EXPECT_EQ(w.Edit7->text(), "55°30,5");

    w.Edit10->setFocus(); // leaving the latitude stores it
    EXPECT_DOUBLE_EQ(w.searchLatitude, 55.0 + 30.5 / 60.0);
    Type(w.Edit10, "W37 37");
    EXPECT_EQ(w.DCB->currentIndex(), 0);
    EXPECT_EQ(w.Edit10->text(), "37°37");
}

TEST_F(WindowTest, RefreshesLeaveTheKeyboardFocusWhereItWas) {
    TForm1& w = Open();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(w.RxSlider1->hasFocus()); // the slider has it from the start
    QTest::keyClick(w.RxSlider1, Qt::Key_Right);
    QTest::keyClick(w.RxSlider1, Qt::Key_Right); // still there after the first zoom
    EXPECT_EQ(w.Label6->text(), "3");

    // A half-typed coordinate is not committed by a refresh: no error box, text intact.
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    w.Edit7->setFocus();
    Type(w.Edit7, "12.,");
    const QString typed = w.Edit7->text();
    w.PanView(PanDirection::East);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(w.Edit7->hasFocus());
    EXPECT_EQ(w.Edit7->text(), typed);
}

TEST_F(WindowTest, CoordinateFieldsKeepEditingAndFocusKeys) {
    TForm1& w = Open();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    w.Edit7->setFocus();
    Type(w.Edit7, "45");
    w.Edit7->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QApplication::sendEvent(w.Edit7, &del); // X11 reports Delete with this text
    EXPECT_EQ(w.Edit7->text(), "5");
    QApplication::clipboard()->setText("junk");
    QTest::keyClick(w.Edit7, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Edit7->text(), "5");
    QTest::keyClick(w.Edit7, Qt::Key_Tab); // leaves the field, which commits it
    EXPECT_FALSE(w.Edit7->hasFocus());
    EXPECT_DOUBLE_EQ(w.searchLatitude, 5);
}

TEST_F(WindowTest, InputDuringARefreshAndTheWheelChangeNothing) {
    TForm1& w = Open();
    // Clicks and keys that arrive while the view loads are lost; nothing is greyed meanwhile.
    bool greyed = true;
    QTimer::singleShot(0, &w, [&] {
        greyed = !w.RxSlider1->isEnabled();
        QTest::mousePress(w.pad[4], Qt::LeftButton);
        QTest::keyClick(w.RxSlider1, Qt::Key_Right);
        QTest::mouseClick(w.Image3, Qt::LeftButton);
    });
    w.RefreshView();
    EXPECT_FALSE(greyed);
    // As during a job, which disables the window.
    w.DisableWindow();
    QTest::mousePress(w.pad[4], Qt::LeftButton);
    w.EnableWindow();
    EXPECT_EQ(w.RxSlider1->value(), 1);
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));

    QWheelEvent wheel(QPointF(50, 20), w.RxSlider1->mapToGlobal(QPointF(50, 20)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.RxSlider1, &wheel);
    EXPECT_EQ(w.RxSlider1->value(), 1);
}

TEST_F(WindowTest, SearchMovesTheViewAndMarksThePoint) {
    TForm1& w = Open();
    w.Edit7->setText("45");
    w.Edit7Exit(w.Edit7);
    w.Edit10->setText("90");
    w.Edit7Exit(w.Edit10);
    w.SCB->setCurrentIndex(0);
    w.DCB->setCurrentIndex(1);
    w.FCB->setCurrentIndex(1);
    w.ButtonFindClick();
    EXPECT_EQ(Paths(), QStringList({"rq", "rr", "rs", "rt"}));
    EXPECT_EQ(w.markedTile, Url("rs"));
    EXPECT_TRUE(w.Image5->isVisible());
    EXPECT_EQ(w.Image5->pos(), QPoint(256 + 0 - 9, 256 + 112 - 9));

    w.CheckBox3->click(); // unchecked: the marker goes, the view reloads
    EXPECT_FALSE(w.Image5->isVisible());
}

TEST_F(WindowTest, OutOfRangeLatitudeKeepsTheFocusButIsStored) {
    TForm1& w = Open();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.PageControl1->setCurrentWidget(w.TabSheet6);
    w.Edit7->setText("91");
    w.Edit7->setFocus();
    w.Edit10->setFocus();
    EXPECT_DOUBLE_EQ(w.searchLatitude, 91.0);
    QApplication::processEvents();
    EXPECT_TRUE(w.Edit7->hasFocus());
    // A search with it must still give a sane view.
    w.FCB->setCurrentIndex(2);
    w.ButtonFindClick();
    for (const QString& path : Paths())
        EXPECT_TRUE(IsQuadPath(path)) << path.toStdString();
}
