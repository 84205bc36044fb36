// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Слои" group draws over the map, read back from the window's own pixels.
#include "app/coverage_overlay.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QDir>
#include <QPainter>

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

} // namespace
