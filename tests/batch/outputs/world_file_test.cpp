// SPDX-License-Identifier: GPL-3.0-or-later
// World files as GDAL reads them beside a stitched JPEG.
#include "batch/outputs/world_file.h"

#include "batch/outputs/calibration_file.h"
#include "batch/outputs/stitch_output.h"

#include "tests/support/gdal_readback.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QStandardPaths>

namespace {

TEST(WorldFile, NamesReplaceThePicturesExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/maps/area.jpg", "/maps/area.jgw"},
        {"/maps/area.jpeg", "/maps/area.jgw"},
        {"/maps.d/area", "/maps.d/area.jgw"},
        {"/maps/.hidden", "/maps/.hidden.jgw"},
    };
    for (const auto& [picture, world] : cases)
        EXPECT_EQ(WithExtension(picture, "jgw"), world);
}

TEST(WorldFile, GdalPlacesAStitchedJpegOnItsTiles) {
    if (QStandardPaths::findExecutable("gdalinfo").isEmpty())
        GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    const QString picture = dir.file("area.jpg");
    const TileBlock block{10, 600, 300, 3, 2};
    const StitchOutputOptions options{block, 75, CalibrationTemplate(), "qrtsqrtsqr", "qrtsqrtsqt"};
    StitchOutput output(picture, options);
    std::optional<RgbPicture> pixels = RgbPicture::Create(768, 512);
    ASSERT_TRUE(output.SaveWhole(*pixels)) << output.ErrorText().toStdString();

    const std::array<double, 6> t = BlockGeoTransform(block);
    const QJsonArray transform = GdalInfo(picture)["geoTransform"].toArray();
    ASSERT_EQ(transform.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(transform[i].toDouble(), t[i], 1e-6) << i;
    // GDAL's JPEG reader takes no .prj but the auxiliary file beside it.
    EXPECT_TRUE(ProgramOutput("gdalsrsinfo", {"-e", picture}).contains("EPSG:3857"));
    // Other GIS programs read the .prj, and must find EPSG:3857 in it.
    EXPECT_TRUE(
        ProgramOutput("gdalsrsinfo", {"-e", WithExtension(picture, "prj")}).contains("EPSG:3857"));

    // A set that cannot be completed leaves the earlier one whole: here the world file's
    // name is taken by a folder, and the picture, its map and its world files stay as they were.
    const QString other = dir.file("other.jpg");
    dir.write("other.jpg", "earlier");
    QDir().mkpath(WithExtension(other, "prj"));
    pixels = RgbPicture::Create(768, 512);
    StitchOutput failing(other, options);
    EXPECT_FALSE(failing.SaveWhole(*pixels));
    EXPECT_EQ(failing.FailedPath(), WithExtension(other, "prj"));
    EXPECT_EQ(dir.read("other.jpg"), "earlier");
    EXPECT_FALSE(dir.exists("other.map"));
    EXPECT_FALSE(dir.exists("other.jgw"));
}

} // namespace
