// SPDX-License-Identifier: GPL-3.0-or-later
// The stitching and prefill tabs as the user meets them.
#include "app/tform2.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/gdal_readback.h"
#include "tests/support/jpeg_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <vector>

namespace {

// Answers the modal dialogs of a job one by one as they come up, as a user at the keyboard
// would, once each is enabled, visible and the active window. It notes each dialog it met
// (a message box by its caption and text) and each that came up otherwise.
class DialogDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;
    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(20);
    }
    QStringList met;
    QStringList notInFront;

private:
    void Poll() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != current_) {
            current_ = dialog;
            waited_ = 0;
        }
        if (!dialog || handled_ == dialog)
            return;
        if (next_ >= steps_.size()) {
            // A dialog that takes no input would hold the test for ever: closed from here.
            if (auto* stuck = qobject_cast<QDialog*>(dialog); stuck && ++waited_ > 250) {
                notInFront << QStringLiteral("left open: ") + dialog->metaObject()->className();
                stuck->done(QDialog::Rejected);
            }
            return;
        }
        const bool inFront =
            dialog->isEnabled() && dialog->isVisible() && QApplication::activeWindow() == dialog;
        if (!inFront && ++waited_ < 50)
            return; // a second at most for it to come up
        if (!inFront)
            notInFront << dialog->metaObject()->className();
        auto* box = qobject_cast<QMessageBox*>(dialog);
        met << (box ? box->windowTitle() + ": " + box->text()
                    : QString::fromLatin1(dialog->metaObject()->className()));
        handled_ = dialog;
        steps_[next_++](dialog);
        handled_ = nullptr;
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QPointer<QWidget> current_;
    QWidget* handled_ = nullptr;
    int waited_ = 0;
    QTimer timer_;
};

// Types a name into the save dialog's file name field and presses Enter.
DialogDriver::Step SaveAs(const QString& path) {
    return [path](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->selectAll();
        for (const QChar c : path) { // as a keyboard sends them: QTest knows only Latin-1
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(name, &key);
        }
        QTest::keyClick(name, Qt::Key_Return);
    };
}

// Shows the save dialog's second filter as a user picks it from the list, then saves.
DialogDriver::Step SaveWithSecondFilter(const QString& path) {
    return [path](QWidget* dialog) {
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);
        SaveAs(path)(dialog);
    };
}

void PressEscape(QWidget* dialog) {
    QTest::keyClick(dialog, Qt::Key_Escape);
}

void PressOk(QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}

const QString kTooLarge = "ошибки: Выполнить невозможно - слишком большое изображение?";

} // namespace

TEST_F(WindowTest, StitchEstimateFollowsBothFields) {
    TForm1& w = Open();
    EXPECT_EQ(w.Label3->text(), "Память: 4,6875 мб");
    EXPECT_EQ(w.Label4->text(), "скачать~ 0,234375 мб");
    EXPECT_TRUE(w.Button5->isEnabled());
    w.Edit1->setText("0");
    EXPECT_EQ(w.Label3->text(), "Память: 0 мб");
    EXPECT_FALSE(w.Button5->isEnabled());
    w.Edit1->setText("x");
    w.Edit2->setText("y"); // -1 by -1: the button comes back
    EXPECT_TRUE(w.Button5->isEnabled());
    EXPECT_TRUE(w.Label7->text().startsWith("Выкачивание производится при текущем увеличении"));
}

TEST_F(WindowTest, StitchThroughTheSaveDialogWritesPictureAndMapAndRefreshesTheView) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit1->setText("3");
    w.Edit2->setText("2");
    http.requests.clear();
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::green));
    QStringList buttons;
    DialogDriver driver({
        [&](QWidget* dialog) {
            for (const QPushButton* button : dialog->findChildren<QPushButton*>())
                buttons << button->text();
            SaveAs(home.file("日本.jpg"))(dialog); // the map file could not name it
        },
        PressOk,
        SaveAs(home.file("карта.jpg")),
    });
    w.Button5->click();
    ASSERT_EQ(driver.met.size(), 3) << driver.met.join('\n').toStdString();
    EXPECT_TRUE(driver.met[1].contains("windows-1251")) << driver.met[1].toStdString();
    EXPECT_TRUE(driver.notInFront.isEmpty()) << driver.notInFront.join(' ').toStdString();
    // Qt's own words are Russian too.
    EXPECT_TRUE(buttons.join('|').contains("Отмена")) << buttons.join('|').toStdString();
    EXPECT_TRUE(QImage(home.file("карта.jpg"), "JPG").size() == QSize(768, 512));
    EXPECT_TRUE(home.exists("карта.map"));
    EXPECT_FALSE(home.exists("日本.jpg"));
    // Column by column; the third column wraps round the level-1 world to the first, and it
    // and the view put back come from the cache the first two filled.
    EXPECT_EQ(http.requests, QStringList({Url("q"), Url("t"), Url("r"), Url("s")}));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
}

// Each ending of a job that shows a dialog, driven through the real dialogs.
TEST_F(WindowTest, EveryJobEndingShowsItsDialogsInFront) {
    const struct {
        const char* name;
        std::function<void(TForm1&)> setUp;
        std::vector<DialogDriver::Step> steps;
        QStringList met;
        int requests;
    } cases[] = {
        {"save cancelled",
         [](TForm1& w) { w.Edit1->setText("1"); },
         {PressEscape},
         {"QFileDialog"},
         1},
        {"error limit",
         [](TForm1& w) {
             w.Edit1->setText("2");
             w.UpDown1->setValue(1);
             w.UpDown4->setValue(1);
         },
         {PressOk},
         {"ошибки: Закачка остановлена - превышен предел ошибок. Выявлено ошибок: записи -  0; "
          "получения - 1; ошибочных файлов - 0; "},
         1},
        {"too large", [](TForm1& w) { w.Edit1->setText("256"); }, {PressOk}, {kTooLarge}, 0},
        {"too large with the schedule",
         [](TForm1& w) {
             w.Edit1->setText("256");
             w.CheckBox1->setChecked(true);
         },
         {PressOk},
         {kTooLarge},
         0},
        {"schedule cancelled",
         [](TForm1& w) { w.CheckBox1->setChecked(true); },
         {[](QWidget* d) { QTest::mouseClick(static_cast<TForm2*>(d)->Button2, Qt::LeftButton); }},
         {"TForm2"},
         0},
        {"schedule run out",
         [](TForm1& w) {
             w.CheckBox1->setChecked(true);
             w.Edit1->setText("1");
         },
         {[](QWidget* d) { QTest::mouseClick(static_cast<TForm2*>(d)->Button1, Qt::LeftButton); },
          PressEscape},
         {"TForm2", "QFileDialog"},
         1},
    };
    ServeFromLoopback();
    TForm1& w = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.Edit1->setText("1");
        w.Edit2->setText("1");
        w.CheckBox1->setChecked(false);
        w.UpDown1->setValue(1);
        w.UpDown4->setValue(3);
        c.setUp(w);
        http.requests.clear();
        DialogDriver driver(c.steps);
        w.Button5->click();
        EXPECT_EQ(driver.met, c.met);
        EXPECT_TRUE(driver.notInFront.isEmpty()) << driver.notInFront.join(' ').toStdString();
        // The closing refresh may ask for the view again: only the job's own tiles count.
        EXPECT_GE(http.requests.size(), c.requests);
        if (c.requests == 0) {
            EXPECT_TRUE(http.requests.isEmpty());
        }
        EXPECT_TRUE(w.isEnabled());
        EXPECT_FALSE(Progress().isVisible());
    }
    EXPECT_FALSE(QFileInfo::exists(home.file("map.jpg")));
}

TEST_F(WindowTest, TheSecondJobsProgressDialogIsInFrontAndCancels) {
    ServeFromLoopback();
    TForm1& w = Open();
    w.Edit1->setText("1");
    w.Edit2->setText("1");
    w.UpDown1->setValue(1);
    {
        DialogDriver driver({PressEscape});
        w.Button5->click(); // the first job raises the main window at its end
    }
    w.Edit1->setText("3");
    w.UpDown1->setValue(2); // a failing tile would be retried after a pause of a second
    http.requests.clear();
    bool inFront = false;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (!Progress().isVisible() || QApplication::activeWindow() != &Progress() ||
            !Progress().isEnabled())
            return;
        inFront = true;
        QTest::mouseClick(Progress().Button1, Qt::LeftButton);
        cancel.stop();
    });
    cancel.start(20);
    DialogDriver noBox({});
    w.Button5->click();
    EXPECT_TRUE(inFront);
    EXPECT_TRUE(noBox.met.isEmpty()) << noBox.met.join('\n').toStdString();
    EXPECT_EQ(http.requests.size(), 1); // the first attempt; the cancel cuts its pause short
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(Progress().isVisible());
}

TEST_F(WindowTest, PrefillFromTheWindowVisitsTheRegionAndPutsTheViewBack) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit3->setText("2");
    EXPECT_EQ(w.Label13->text(), "Ориентировочный объем 220,88 Кбайт");
    http.requests.clear();
    for (int i = 0; i < 16 + 4; ++i) // the region's tiles, then the view put back
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    w.Button6->click();
    ASSERT_EQ(http.requests.size(), 20);
    EXPECT_EQ(http.requests.mid(0, 4), QStringList({Url("qq"), Url("qr"), Url("qs"), Url("qt")}));
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    EXPECT_TRUE(w.isEnabled());
}

// A name without an extension takes the chosen filter's: a GeoTIFF that GDAL places on the
// tiles of the level-1 world, and no map file beside it.
TEST_F(WindowTest, StitchToGeoTiffThroughTheSaveDialogLiesOnItsTiles) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit1->setText("3");
    w.Edit2->setText("2");
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::green));
    DialogDriver driver({SaveWithSecondFilter(home.file("карта"))});
    w.Button5->click();
    ASSERT_EQ(driver.met.size(), 1) << driver.met.join('\n').toStdString();
    const QJsonObject info = GdalInfo(home.file("карта.tif"));
    EXPECT_TRUE(info["coordinateSystem"]["wkt"].toString().contains(R"(ID["EPSG",3857]])"));
    ExpectCornersOnBlock(info, {1, 0, 0, 3, 2});
    EXPECT_FALSE(home.exists("карта.map"));
}

// "Экспорт…" over the region a prefill to level 2 covers: one KMZ overlay of its 4 × 4 tiles.
TEST_F(WindowTest, ExportFromThePrefillTabWritesTheChosenKmz) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit3->setText("2");
    for (int i = 0; i < 16 + 4; ++i) // the region's tiles, then the view put back
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    DialogDriver driver({SaveWithSecondFilter(home.file("область"))});
    w.Button7->click();
    ASSERT_EQ(driver.met.size(), 1) << driver.met.join('\n').toStdString();
    const QList<Overlay> overlays =
        Overlays(ProgramOutput("unzip", {"-p", home.file("область.kmz"), "doc.kml"}));
    ASSERT_EQ(overlays.size(), 1);
    const GeoBounds world = BlockBounds({2, 0, 0, 4, 4});
    EXPECT_NEAR(overlays[0].north, world.north, 1e-9);
    EXPECT_NEAR(overlays[0].west, world.west, 1e-9);
    EXPECT_TRUE(w.isEnabled());
}

// The export's save dialog names every format as its users know it; a name without an
// extension takes the chosen one's, here a GeoPackage that GDAL reads.
TEST_F(WindowTest, ExportDialogOffersEveryFormatByItsName) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit3->setText("2");
    for (int i = 0; i < 4 + 16 + 4; ++i) // levels 1 and 2, then the view put back
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    QStringList offered;
    DialogDriver driver({[&](QWidget* dialog) {
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i)
            offered.append(types->itemText(i));
        for (qsizetype k = offered.indexOf("GeoPackage (*.gpkg)"); k > 0; --k)
            QTest::keyClick(types, Qt::Key_Down);
        SaveAs(home.file("область"))(dialog);
    }});
    w.Button7->click();
    EXPECT_EQ(offered, QStringList({"MBTiles (*.mbtiles)", "KMZ (*.kmz)", "GeoPackage (*.gpkg)",
                                    "OsmAnd / Locus (*.sqlitedb)", "OruxMaps (*.orux)",
                                    "PMTiles (*.pmtiles)"}));
    EXPECT_EQ(GdalInfo(home.file("область.gpkg"))["driverShortName"].toString(), "GPKG")
        << home.names().join(" ").toStdString();
}
