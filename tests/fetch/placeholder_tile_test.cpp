#include "fetch/placeholder_tile.h"

#include <QColor>
#include <gtest/gtest.h>

namespace {

// The smallest rectangle holding every dark pixel of the given rows.
QRect InkBounds(const QImage& image, int firstRow, int lastRow) {
    QRect bounds;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 64)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int BlackPixelsInRows(const QImage& image, int firstRow, int lastRow) {
    int count = 0;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 64;
    return count;
}

bool RowsEqual(const QImage& a, const QImage& b, int firstRow, int lastRow) {
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(PlaceholderTile, GreyTileWithBlackTextOnTheTwoLines) {
    const QImage tile = PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-qrst-");
    ASSERT_EQ(tile.size(), QSize(256, 256));
    EXPECT_EQ(tile.format(), QImage::Format_RGB888);
    for (const QPoint corner : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(255, 255)})
        EXPECT_EQ(tile.pixelColor(corner), QColor(192, 192, 192));

    // An 8 point line is well under 30 pixels tall, centred on rows 108 and 148.
    EXPECT_GT(BlackPixelsInRows(tile, 94, 122), 0);
    EXPECT_GT(BlackPixelsInRows(tile, 134, 162), 0);
    EXPECT_EQ(BlackPixelsInRows(tile, 0, 90), 0);
    EXPECT_EQ(BlackPixelsInRows(tile, 166, 255), 0);
    // Each line is centred on its point, give or take the gap between ink and text box.
    for (const QPoint centre : {QPoint(128, 108), QPoint(128, 148)}) {
        const QPoint ink = InkBounds(tile, centre.y() - 19, centre.y() + 19).center();
        EXPECT_LE((ink - centre).manhattanLength(), 3) << ink.x() << ',' << ink.y();
    }
}

TEST(PlaceholderTile, EachLineLandsInItsOwnBand) {
    const QImage a = PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-q-");
    const QImage b = PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-q-");
    const QImage c = PlaceholderTile(QStringLiteral("Отсутствует в кэше"), "-tsrq-");
    EXPECT_FALSE(RowsEqual(a, b, 94, 122));
    EXPECT_TRUE(RowsEqual(a, b, 128, 255));
    EXPECT_TRUE(RowsEqual(a, c, 0, 127));
    EXPECT_FALSE(RowsEqual(a, c, 134, 162));
}
