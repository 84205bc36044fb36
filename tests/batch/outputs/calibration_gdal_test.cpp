// SPDX-License-Identifier: GPL-3.0-or-later
// The map file as a real reader sees it: GDAL's OziExplorer driver must place the picture
// where the file says.
#include "batch/outputs/calibration_file.h"
#include "image/jpeg_encode.h"

#include "tests/support/temp_dir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

bool WriteJpegFile(const QString& path, const RgbPicture& picture) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return EncodeProgressiveJpeg(picture, 75, [&](const char* data, std::size_t size) {
        return file.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size);
    });
}

double Degrees(int degrees, double minutes) {
    return degrees + minutes / 60;
}

} // namespace

TEST(CalibrationGdal, ExtentMatchesTheWrittenCorners) {
    const QString gdalinfo = QStandardPaths::findExecutable(QStringLiteral("gdalinfo"));
    if (gdalinfo.isEmpty())
        GTEST_SKIP() << "gdalinfo (gdal-bin) is not installed";
    TempDir dir;
    const QString picturePath = dir.file("area.jpg");
    const std::optional<RgbPicture> picture = RgbPicture::Create(768, 512);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(WriteJpegFile(picturePath, *picture));
    // Level 10, anchor at row 300, column 600; 3 by 2 tiles.
    ASSERT_TRUE(WriteCalibrationFile(
        CalibrationTemplate(),
        {3, 2, picturePath, QStringLiteral("rtqrtrstqq"), QStringLiteral("rtqrtrstrt")}));

    QProcess process;
    process.start(gdalinfo, {"-json", CalibrationFilePath(picturePath)});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QJsonObject info = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    EXPECT_EQ(info["size"].toArray(), QJsonArray({768, 512}));

    const QJsonArray ring = info["wgs84Extent"]["coordinates"].toArray().at(0).toArray();
    ASSERT_GE(ring.size(), 4);
    double west = 180, east = -180, south = 90, north = -90;
    for (const QJsonValue& corner : ring) {
        const double longitude = corner.toArray().at(0).toDouble();
        const double latitude = corner.toArray().at(1).toDouble();
        west = std::min(west, longitude);
        east = std::max(east, longitude);
        south = std::min(south, latitude);
        north = std::max(north, latitude);
    }
    // The corners as written: 59, 32.05902 N 30, 56.25000 E and 59, 10.55580 N 31, 59.53125 E.
    constexpr double kTolerance = 1e-5;
    EXPECT_NEAR(north, Degrees(59, 32.05902), kTolerance);
    EXPECT_NEAR(west, Degrees(30, 56.25), kTolerance);
    EXPECT_NEAR(south, Degrees(59, 10.55580), kTolerance);
    EXPECT_NEAR(east, Degrees(31, 59.53125), kTolerance);
}
