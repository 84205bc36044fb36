// SPDX-License-Identifier: GPL-3.0-or-later
// KMZ ground overlays read back: each LatLonBox against the tile math, and each picture's
// rows where their latitudes are.
#include "batch/outputs/kmz_writer.h"

#include "image/jpeg_decode.h"
#include "tests/support/gdal_readback.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tile_pixels_image.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// Tile rows told apart by their red.
int RedOfRow(std::int64_t row) {
    return int(20 + 40 * row);
}

TEST(KmzWriter, OverlaysLieExactlyOnTheirTiles) {
    if (QStandardPaths::findExecutable("unzip").isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    TempDir dir;
    const QString path = dir.file("region.kmz");
    // Level 3, where Mercator rows and latitudes differ most: 6 × 5 tiles, 2 × 2 pictures.
    const TileBlock block{3, 1, 1, 6, 5};
    KmzWriter writer(path, block, "Область", 90);
    ASSERT_TRUE(writer.Begin()) << writer.ErrorText().toStdString();
    for (std::int64_t j = block.rows - 1; j >= 0; --j) // any order will do
        for (std::int64_t i = block.columns - 1; i >= 0; --i)
            ASSERT_TRUE(writer.AddTile(CellInBlock(block, i, j),
                                       MakeTestJpeg(256, 256, QColor(RedOfRow(1 + j), 128, 128))));
    ASSERT_TRUE(writer.Finish()) << writer.ErrorText().toStdString();
    EXPECT_EQ(dir.names(), QStringList{"region.kmz"});

    const QList<Overlay> overlays = Overlays(ProgramOutput("unzip", {"-p", path, "doc.kml"}));
    ASSERT_EQ(overlays.size(), 4);
    const struct {
        int column, row, columns, rows;
    } pictures[] = {{1, 1, 4, 4}, {5, 1, 2, 4}, {1, 5, 4, 1}, {5, 5, 2, 1}};
    for (int p = 0; p < 4; ++p) {
        const auto& e = pictures[p];
        const Overlay& o = overlays[p];
        EXPECT_NEAR(o.north, RowEdgeLatitude(3, e.row), 1e-9) << p;
        EXPECT_NEAR(o.south, RowEdgeLatitude(3, e.row + e.rows), 1e-9) << p;
        EXPECT_NEAR(o.west, ColumnEdgeLongitude(3, e.column), 1e-9) << p;
        EXPECT_NEAR(o.east, ColumnEdgeLongitude(3, e.column + e.columns), 1e-9) << p;

        const QByteArray jpeg = ProgramOutput("unzip", {"-p", path, o.href});
        EXPECT_TRUE(jpeg.contains("\xFF\xC0")) << "a baseline frame";
        TilePixels decoded;
        ASSERT_TRUE(DecodeJpeg(jpeg, decoded)) << o.href.toStdString();
        const QImage picture = AsImage(decoded);
        ASSERT_EQ(picture.size(), QSize(e.columns * 256, e.rows * 256));
        // Every row shows the tile its latitude lies in (a few pixels of blur at the seams).
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const double latitude = o.north - (y + 0.5) * (o.north - o.south) / picture.height();
            const double row = RowAtLatitude(3, latitude);
            if (std::abs(row - std::round(row)) * 256 < 4)
                continue;
            wrong += std::abs(qRed(picture.pixel(picture.width() / 2, y)) -
                              RedOfRow(std::int64_t(row))) > 8;
        }
        EXPECT_EQ(wrong, 0) << o.href.toStdString();
    }
}

TEST(KmzWriter, RefusesMoreThanAHundredPictures) {
    TempDir dir;
    const TileBlock block{8, 0, 0, 41, 40}; // 11 × 10 pictures
    EXPECT_EQ(KmzPictureCount(block), 110);
    KmzWriter writer(dir.file("big.kmz"), block, "big", 90);
    EXPECT_FALSE(writer.Begin());
    EXPECT_TRUE(writer.ErrorText().contains("110")) << writer.ErrorText().toStdString();
    EXPECT_TRUE(writer.ErrorText().contains("100"));
    EXPECT_TRUE(dir.names().isEmpty());
}

} // namespace
