// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/placeholder_tile.h"
#include "tests/support/tile_pixels_image.h"

#include <QColor>
#include <gtest/gtest.h>

namespace {

// The smallest rectangle holding every dark pixel between the two rows.
QRect InkBounds(const QImage& image, int firstRow, int lastRow) {
    QRect bounds;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 64)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(PlaceholderTile, GreyTileWithEachLineCentredOnItsPoint) {
    const QImage tile = AsImage(PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-qrst-"));
    ASSERT_EQ(tile.size(), QSize(256, 256));
    EXPECT_EQ(tile.format(), QImage::Format_RGB888);
    EXPECT_EQ(tile.pixelColor(0, 0), QColor(192, 192, 192));
    EXPECT_EQ(tile.pixelColor(255, 255), QColor(192, 192, 192));
    EXPECT_TRUE(InkBounds(tile, 0, 88).isNull());
    EXPECT_TRUE(InkBounds(tile, 168, 255).isNull());
    for (const QPoint centre : {QPoint(128, 108), QPoint(128, 148)}) {
        const QRect ink = InkBounds(tile, centre.y() - 19, centre.y() + 19);
        EXPECT_GT(ink.width(), 20);
        EXPECT_LE((ink.center() - centre).manhattanLength(), 3) << ink.x() << ',' << ink.y();
    }
}

TEST(PlaceholderTile, EachLineChangesOnlyItsOwnHalf) {
    const auto top = [](const QImage& tile) { return tile.copy(0, 0, 256, 128); };
    const auto bottom = [](const QImage& tile) { return tile.copy(0, 128, 256, 128); };
    const QImage a = AsImage(PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-q-"));
    const QImage b = AsImage(PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-q-"));
    const QImage c = AsImage(PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-tsrq-"));
    EXPECT_NE(top(a), top(b));
    EXPECT_EQ(bottom(a), bottom(b));
    EXPECT_EQ(top(a), top(c));
    EXPECT_NE(bottom(a), bottom(c));
}
