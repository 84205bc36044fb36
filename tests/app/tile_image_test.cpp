// SPDX-License-Identifier: GPL-3.0-or-later
// Tiles are pictures: a window that takes no input still shows them in their own colours.
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QImage>

namespace {

// The colour of each tile, as decoded, and as the widget shows it on the screen.
QRgb Shown(TileImage* image) {
    return image->grab().toImage().pixel(100, 60);
}
QRgb Own(const TileImage* image) {
    return image->pixmap().toImage().pixel(100, 60);
}

} // namespace

TEST_F(WindowTest, DisabledWindowShowsItsTilesInFullColour) {
    ServeFromLoopback();
    const QColor colours[] = {QColor(200, 30, 30), QColor(30, 180, 40), QColor(20, 40, 210),
                              QColor(230, 200, 20)};
    for (const QColor& colour : colours)
        http.Reply(MakeTestJpeg(256, 256, colour));
    TForm1& w = Open();
    w.DisableWindow();
    ASSERT_FALSE(w.isEnabled());
    for (int slot = 0; slot < 4; ++slot) {
        const QRgb shown = Shown(w.images[slot]);
        EXPECT_EQ(shown, Own(w.images[slot])) << "slot " << slot;
        EXPECT_NEAR(qRed(shown), colours[slot].red(), 8) << "slot " << slot;
        EXPECT_NEAR(qGreen(shown), colours[slot].green(), 8) << "slot " << slot;
        EXPECT_NEAR(qBlue(shown), colours[slot].blue(), 8) << "slot " << slot;
    }
    w.EnableWindow();
}
