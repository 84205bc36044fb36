// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rx_slider.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/refusing_port.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>

namespace {

QRgb PixelOf(const TileImage* image, int x, int y) {
    return image->pixmap().toImage().pixel(x, y);
}

// Labels in the container show their whole text without touching another control.
void ExpectTextsWhole(const QWidget& container) {
    QList<QWidget*> controls;
    for (QWidget* c : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisibleTo(&container))
            controls << c;
    for (const QWidget* c : controls) {
        EXPECT_TRUE(container.rect().contains(c->geometry())) << c->metaObject()->className();
        const auto* label = qobject_cast<const QLabel*>(c);
        if (!label || label->text().isEmpty())
            continue;
        const std::string text = label->text().toStdString();
        const int needed =
            label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        EXPECT_LE(needed, label->height()) << text;
        if (!label->wordWrap()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << text;
        }
        for (const QWidget* other : controls) {
            if (other != c && !qobject_cast<const QGroupBox*>(other)) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                    << text << " / " << other->metaObject()->className();
            }
        }
    }
}

} // namespace

TEST_F(WindowTest, StartsWithoutSettingsFileOnTheWholeWorld) {
    TForm1& w = Open();
    EXPECT_EQ(w.windowTitle(), "OrbivistViewer");
    EXPECT_EQ(w.size(), QSize(512, 670));
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    EXPECT_EQ(w.prefixLength, DefaultPrefixLength());
    EXPECT_EQ(w.cacheRoot, home.path() + "Cash/");
    EXPECT_EQ(w.Label6->text(), "1");
    EXPECT_EQ(w.RxSlider1->value(), 1);
    EXPECT_EQ(Panel(0), "N0г 0,00000мин");
    EXPECT_EQ(Panel(1), "W0г 0,00000мин");
    EXPECT_EQ(Panel(2), "1");
    EXPECT_EQ(Panel(4), "интернет и кэш"); // no mode was chosen yet
    EXPECT_EQ(w.SpeedButton10->text(), "кэш");
    EXPECT_TRUE(w.RadioButton3->isChecked());
    EXPECT_EQ(w.ComboBox1->currentText(), "---Новое Имя---");
    EXPECT_TRUE(w.isEnabled());
}

// What the first start shows when no tile server answers (the default address with no demo
// server running): on an address this test holds, whatever else listens on the default one.
TEST_F(WindowTest, TilesThatNoServerAnswersForAreReceiveErrors) {
    const RefusingPort refusing;
    SaveViewOn(QStringLiteral("http://127.0.0.1:%1/kh?v=5&n=404&t=t").arg(refusing.Port()));
    TForm1& w = Open();
    EXPECT_EQ(Panel(3), "0 Кб из интернета");
    EXPECT_EQ(w.counters.receiveErrors, 4);
    // Viewing builds no job dialog; built later, the progress dialog shows the counts so far.
    EXPECT_EQ(dialogs->ProgressIfBuilt(), nullptr);
    EXPECT_EQ(Progress().Label2->text(), "4 ошибок получения");
    EXPECT_EQ(Progress().Label3->text(), "0 ошибок jpeg");
    EXPECT_EQ(PixelOf(w.Image1, 3, 3), qRgb(192, 192, 192));
}

TEST_F(WindowTest, TabsCarryTheirCaptionsAndSizes) {
    TForm1& w = Open();
    QStringList captions;
    for (int i = 0; i < w.PageControl1->count(); ++i)
        captions << w.PageControl1->tabText(i);
    EXPECT_EQ(captions, QStringList({"Просмотр", "Поиск", "Склейка", "Выкачивание в кэш",
                                     "Настройки", "О программе"}));
    EXPECT_EQ(w.PageControl1->height(), 137);

    w.PageControl1->setCurrentWidget(w.TabSheet4);
    EXPECT_EQ(w.PageControl1->height(), 439);
    EXPECT_EQ(w.Edit11->text(), DefaultSourcePrefix());
    w.PageControl1->setCurrentWidget(w.TabSheet5);
    EXPECT_EQ(w.PageControl1->height(), 200);
    w.PageControl1->setCurrentWidget(w.TabSheet2);
    EXPECT_EQ(w.PageControl1->height(), 137);
    // The tab control grows upwards; the status bar stays at the bottom.
    EXPECT_EQ(w.PageControl1->geometry().bottom() + 1, w.StatusB->y());
    EXPECT_EQ(w.StatusB->geometry().bottom() + 1, 670);
    // The five panels sit side by side inside the window.
    const auto* last = w.StatusB->findChildren<QLabel*>().back();
    EXPECT_LE(last->geometry().right(), 511);
    EXPECT_GE(last->width(), 90);
}

// Each tab's texts are whole: a caption does not run into another control, a wrapped text
// has the height its lines need, and everything lies inside the tab's page.
TEST_F(WindowTest, EveryTabShowsItsTextsWhole) {
    TForm1& w = Open();
    w.Edit3->setText("16"); // the longest estimate: a refusal
    for (int i = 0; i < w.PageControl1->count(); ++i) {
        w.PageControl1->setCurrentIndex(i);
        QWidget* page = w.PageControl1->currentWidget();
        SCOPED_TRACE(w.PageControl1->tabText(i).toStdString());
        // To look at them: ORBIVIST_TAB_SHOTS=<folder> keeps a picture of each tab.
        if (const QString shots = qEnvironmentVariable("ORBIVIST_TAB_SHOTS"); !shots.isEmpty())
            w.grab().save(QStringLiteral("%1/tab%2.png").arg(shots).arg(i));
        ExpectTextsWhole(*page);
        for (const QGroupBox* group : page->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            ExpectTextsWhole(*group);
    }
}

TEST_F(WindowTest, CacheOnlyModeShowsMissingTilesAsPlaceholders) {
    ServeFromLoopback();
    TForm1& w = Open();
    http.requests.clear();
    w.RadioButton1->click();
    EXPECT_EQ(Panel(4), "только кэш");
    EXPECT_EQ(w.SpeedButton10->text(), "только кэш");
    w.Button8->click();
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_EQ(w.counters.receiveErrors, 4); // nothing new counted
    for (const TileImage* image : w.images)
        EXPECT_EQ(PixelOf(image, 250, 5), qRgb(192, 192, 192));
}

TEST_F(WindowTest, WorkModeButtonStepsThroughTheThreeModes) {
    TForm1& w = Open();
    const QStringList expected = {"только кэш", "интернет", "кэш и интернет"};
    const std::array<QRadioButton*, 3> checked = {w.RadioButton1, w.RadioButton2, w.RadioButton3};
    for (int i = 0; i < 3; ++i) {
        w.SpeedButton10->click();
        EXPECT_EQ(w.SpeedButton10->text(), expected[i]);
        EXPECT_EQ(Panel(4), expected[i]);
        EXPECT_TRUE(checked[i]->isChecked());
    }
}

TEST_F(WindowTest, FetchMissingTilesUsesTheNetworkOnceAndKeepsCacheOnlyMode) {
    ServeFromLoopback();
    TForm1& w = Open();
    w.RadioButton1->click();
    http.requests.clear();
    w.SpeedButton11->click();
    EXPECT_EQ(http.requests.size(), 4);
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton3->isChecked());
    EXPECT_EQ(Panel(4), "только кэш");
}

TEST_F(WindowTest, CentreReadOutFollowsTheView) {
    TForm1& w = Open();
    w.viewUrls = View("qq", "qr", "qs", "qt");
    w.RefreshView();
    EXPECT_EQ(Panel(0), "N66г 30,79559мин"); // single-precision latitude
    EXPECT_EQ(Panel(1), "W90г 0,00000мин");
    EXPECT_EQ(Panel(2), "2");

    w.viewUrls = View("qr", "rq", "rt", "qs");
    w.RefreshView();
    EXPECT_EQ(Panel(1), "W0г 0,00000мин");
}

TEST_F(WindowTest, PrefillEstimateFollowsLevelAndDepth) {
    TForm1& w = Open();
    w.viewUrls = View("qqq", "qqr", "qqs", "qqt");
    w.RefreshView();
    EXPECT_EQ(w.Label13->text(), "Ориентировочный объем 883,52 Кбайт");
    EXPECT_TRUE(w.Button6->isEnabled());
    // Depths the job would refuse say why before the click, and the button stays off.
    const struct {
        const char* depth;
        const char* label;
    } refused[] = {
        {"3", "Ориентировочный объем -----\nЧтобы начать, задайте глубину больше текущего "
              "уровня (3)."},
        {"16", "Закачка невозможна: глубина 16 ниже текущего уровня 3 более чем на 12 уровней "
               "(268435456 фрагментов)."},
        {"25", "Закачка невозможна: глубина 25 больше предельной (24)."},
    };
    for (const auto& r : refused) {
        w.Edit3->setText(r.depth);
        EXPECT_EQ(w.Label13->text(), QString::fromUtf8(r.label));
        EXPECT_FALSE(w.Button6->isEnabled()) << r.depth;
    }
}

TEST_F(WindowTest, RequestPrefixCanBeReplacedAndRestored) {
    TForm1& w = Open();
    w.viewUrls = View("qq", "qr", "qs", "qt");
    w.Edit11->setText("http://127.0.0.1:1/x?t=t");
    w.ButtonSOK->click();
    EXPECT_EQ(w.prefixLength, 24);
    EXPECT_EQ(w.viewUrls[2], "http://127.0.0.1:1/x?t=tqs");
    EXPECT_EQ(w.Label6->text(), "2");

    w.ButtonS->click();
    EXPECT_EQ(w.viewUrls, View("q", "r", "s", "t"));
    EXPECT_EQ(w.prefixLength, DefaultPrefixLength());
    EXPECT_EQ(w.Edit11->text(), DefaultSourcePrefix());
}

TEST_F(WindowTest, CacheLocationFollowsTheCheckBoxAndField) {
    TForm1& w = Open();
    w.CheckBox4->click();
    EXPECT_TRUE(w.Edit16->isEnabled());
    EXPECT_EQ(w.cacheRoot, home.path() + "Cash/"); // changes with the next edit
    w.Edit16->setText("/tmp/tiles");
    EXPECT_EQ(w.cacheRoot, "/tmp/tiles/");
    w.Edit16->clear(); // never the file system's root
    EXPECT_EQ(w.cacheRoot, home.path() + "Cash/");
    w.CheckBox4->click();
    EXPECT_EQ(w.cacheRoot, home.path() + "Cash/");
    EXPECT_FALSE(w.Edit16->isEnabled());
}

TEST_F(WindowTest, ProgressDialogEscapeCancelsAndTheCloseBoxOnlyHides) {
    Open();
    Progress().show();
    QTest::keyClick(&Progress(), Qt::Key_Escape);
    EXPECT_TRUE(cancel.Raised());
    EXPECT_TRUE(Progress().isVisible());
    cancel.Clear();
    Progress().close();
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_FALSE(cancel.Raised());
}

TEST_F(WindowTest, ProxyFieldsReachTheHttpClientOnlyWhileEnabled) {
    TForm1& w = Open();
    EXPECT_FALSE(w.Edit5->isEnabled());
    w.Edit5->setText("proxy.local");
    EXPECT_TRUE(w.IdHTTP1.proxy().server.isEmpty());
    w.CheckBox2->click();
    EXPECT_TRUE(w.Edit5->isEnabled());
    EXPECT_EQ(w.IdHTTP1.proxy().server, "proxy.local");
    w.Edit6->setText("80a");
    EXPECT_EQ(w.IdHTTP1.proxy().port, 0);
    w.Edit6->setText("3128");
    w.Edit8->setText("user");
    EXPECT_EQ(w.IdHTTP1.proxy().port, 3128);
    EXPECT_EQ(w.IdHTTP1.proxy().user, "user");
    w.CheckBox2->click();
    EXPECT_TRUE(w.IdHTTP1.proxy().server.isEmpty());
    EXPECT_EQ(w.IdHTTP1.proxy().port, 0);
    EXPECT_FALSE(w.Label16->isEnabled());
}
