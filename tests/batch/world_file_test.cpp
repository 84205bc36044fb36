// World files as GDAL reads them beside a stitched JPEG.
#include "batch/jpeg_encode.h"
#include "batch/world_file.h"

#include "tests/batch/gdal_readback.h"
#include "tests/support/temp_dir.h"

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

TEST(WorldFile, GdalPlacesThePictureOnItsTiles) {
    if (QStandardPaths::findExecutable("gdalinfo").isEmpty())
        GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    const QString picture = dir.file("area.jpg");
    const TileBlock block{10, 600, 300, 3, 2};
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(EncodeProgressiveJpeg(*RgbPicture::Create(768, 512), 75,
                                      [&](const char* data, std::size_t size) {
                                          return file.write(data, qint64(size)) == qint64(size);
                                      }));
    file.close();
    QString error;
    ASSERT_TRUE(WriteWorldFiles(picture, block, error)) << error.toStdString();

    const std::array<double, 6> t = BlockGeoTransform(block);
    const QJsonArray transform = GdalInfo(picture)["geoTransform"].toArray();
    ASSERT_EQ(transform.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(transform[i].toDouble(), t[i], 1e-6) << i;

    // GDAL's JPEG reader takes no .prj; GIS programs that do must find EPSG:3857 in it.
    EXPECT_TRUE(
        ProgramOutput("gdalsrsinfo", {"-e", WithExtension(picture, "prj")}).contains("EPSG:3857"));

    QString failure;
    EXPECT_FALSE(WriteWorldFiles(dir.file("none/area.jpg"), block, failure));
    EXPECT_FALSE(failure.isEmpty());
}

} // namespace
