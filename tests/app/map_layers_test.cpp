// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Слои" group draws over the map, read back from the window's own pixels.
#include "app/coverage_overlay.h"
#include "app/region_outline.h"
#include "app/scale_bar_overlay.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"
#include "tiles/tile_block.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

// The colour a translucent tint painted over base gives, as the window paints it.
QColor Tinted(QColor base, QColor tint) {
    QImage one(1, 1, QImage::Format_RGB32);
    one.setPixelColor(0, 0, base);
    QPainter(&one).fillRect(0, 0, 1, 1, tint);
    return one.pixelColor(0, 0);
}

bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

TEST_F(WindowTest, CoverageTintsEachTileByTheShareOfItsSubtreeCached) {
    ServeFromLoopback();
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::white));
    TForm1& w = Open();
    // Level 3 is two below the view: sixteen tiles under each of its four.
    const struct {
        int slot;
        int cached;
        CoverageShare share;
    } tiles[] = {{0, 16, CoverageShare::All},
                 {1, 8, CoverageShare::Part},
                 {2, 0, CoverageShare::None},
                 {3, 1, CoverageShare::Part}};
    const QString quad = "qrst";
    for (const auto& t : tiles)
        for (int i = 0; i < t.cached; ++i)
            home.write(QString("Cash/%1%2%3.jpg").arg(quad[t.slot], quad[i / 4], quad[i % 4]),
                       MakeTestJpeg(256, 256, Qt::gray));
    const QImage before = w.grab().toImage();
    w.CoverageLevel->setValue(3);
    w.CoverageCheck->click();
    const QImage after = w.grab().toImage();
    for (const auto& t : tiles) {
        const QPoint centre = w.images[t.slot]->geometry().center();
        const QColor expected = Tinted(before.pixelColor(centre), CoverageOverlay::Tint(t.share));
        EXPECT_TRUE(Near(after.pixelColor(centre), expected))
            << "slot " << t.slot << ": " << after.pixelColor(centre).name().toStdString() << " for "
            << expected.name().toStdString();
    }
    w.CoverageCheck->click();
    EXPECT_EQ(w.grab().toImage(), before);
}

// Viewing makes none of the switches; the button's menu makes them as it first opens.
TEST_F(WindowTest, LayerSwitchesAreMadeAsTheirMenuFirstOpens) {
    ServeFromLoopback();
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::white));
    TForm1& w = Open();
    EXPECT_EQ(w.ScaleCheck.IfBuilt(), nullptr);
    EXPECT_FALSE(w.ScaleBarView->isVisible());
    bool shown = false;
    QTimer::singleShot(50, &w, [&] {
        QMenu* menu = w.LayersButton->menu();
        const QCheckBox* scale = w.ScaleCheck.IfBuilt();
        shown = menu->isVisible() && scale != nullptr && scale->isVisible();
        menu->close();
    });
    QTest::mouseClick(w.LayersButton, Qt::LeftButton); // back once the menu has closed
    EXPECT_TRUE(shown);
    w.ScaleCheck->click();
    EXPECT_TRUE(w.ScaleBarView->isVisible());
}

TEST_F(WindowTest, ATrackFileIsDrawnInItsOwnColourOrSaysWhyNot) {
    ServeFromLoopback();
    for (int i = 0; i < 4; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::white));
    TForm1& w = Open();
    const QImage before = w.grab().toImage();
    // Along the 40th parallel from 100 W to 100 E, and a point in the southern hemisphere.
    const int y = int(RowAtLatitude(1, 40) * 256 + 0.5);
    const QPoint onLine(int((180 - 50) / 360.0 * 512), y);
    const QPoint offLine(onLine.x(), y + 40);
    const struct {
        const char* name;
        const char* text;
        bool drawn;
    } files[] = {
        {"line.geojson",
         R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
         R"("geometry":{"type":"LineString","coordinates":[[-100,40],[100,40]]}}]})",
         true},
        {"walk.gpx",
         R"(<?xml version="1.0"?><gpx version="1.1" creator="test" )"
         R"(xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>)"
         R"(<trkpt lat="40" lon="-100"/><trkpt lat="40" lon="100"/></trkseg></trk></gpx>)",
         true},
        {"broken.gpx", "this is no track", false},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        home.write(f.name, f.text);
        QString said;
        QTimer::singleShot(0, [&said] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                said = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        w.TrackFileRead(home.file(f.name));
        QCoreApplication::processEvents();
        EXPECT_EQ(said.isEmpty(), f.drawn) << said.toStdString();
        if (!f.drawn) {
            EXPECT_TRUE(said.contains(f.name)) << said.toStdString();
            EXPECT_TRUE(w.TrackCheck->isChecked()); // the track before stays
            continue;
        }
        const QImage drawn = w.grab().toImage();
        EXPECT_EQ(drawn.pixelColor(onLine), w.TrackView->Colour());
        EXPECT_EQ(drawn.pixelColor(offLine), before.pixelColor(offLine));
        w.TrackCheck->click();
        EXPECT_EQ(w.grab().toImage(), before);
        w.TrackCheck->click();
    }
}

// Run again on a screen of two device pixels a pixel (see tests/CMakeLists.txt).
class HiDpiTest : public WindowTest {};

TEST_F(HiDpiTest, EachTilePixelCoversWholeDevicePixelsAndEdgesStaySharp) {
    ServeFromLoopback();
    QImage stripes(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            stripes.setPixel(x, y, (x / 8) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(stripes.save(&buffer, "JPG", 100));
    for (int i = 0; i < 4; ++i)
        http.Reply(jpeg);
    TForm1& w = Open();
    const QImage shown = w.Image1->grab().toImage();
    const int ratio = qRound(shown.devicePixelRatio());
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") {
        ASSERT_EQ(ratio, 2);
    }
    ASSERT_EQ(shown.width(), 256 * ratio);
    const int y = 128 * ratio;
    int sharpEdges = 0;
    for (int x = 0; x + ratio < shown.width(); x += ratio) {
        for (int d = 1; d < ratio * ratio; ++d)
            ASSERT_EQ(shown.pixel(x + d % ratio, y + d / ratio), shown.pixel(x, y)) << x;
        sharpEdges += std::abs(qGray(shown.pixel(x + ratio, y)) - qGray(shown.pixel(x, y))) > 200;
    }
    EXPECT_EQ(sharpEdges, 31); // every edge between stripes, within one device pixel
}

// A size kept on a larger screen starts at what fits this one, and is kept for the larger one.
TEST_F(HiDpiTest, ASavedSizeLargerThanTheScreenStartsAtWhatFits) {
    for (int i = 0; i < 8; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::white));
    prefix = http.Prefix();
    Settings settings = DesignSettings();
    settings.view = {View("q", "r", "s", "t"), static_cast<int>(prefix.size())};
    settings.windowWidth = 3000;
    settings.windowHeight = 2000;
    ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(settings),
                             AddedSettingsLinesOf(settings)));
    TForm1& w = Build();
    if (w.screen()->devicePixelRatio() < 2)
        GTEST_SKIP() << "the screen is not at twice the size";
    w.show();
    WaitForFirstView();
    EXPECT_LE(w.frameGeometry().width(), w.screen()->availableGeometry().width());
    EXPECT_LE(w.frameGeometry().height(), w.screen()->availableGeometry().height());
    Close();
    const QStringList lines = QString::fromLatin1(home.read("ORB.ini")).split("\r\n");
    ASSERT_GT(lines.size(), kSettingsLineCount + 1);
    EXPECT_EQ(lines[kSettingsLineCount + 1], "3000x2000");
}

} // namespace
