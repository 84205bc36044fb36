// SPDX-License-Identifier: GPL-3.0-or-later
// GeoTIFFs as GDAL reads them back: placed on EPSG:3857 to the centimetre, tiled, with
// overviews and the pixels that went in, written with memory that does not grow with them.
#include "gis/geotiff_writer.h"

#include "tests/support/gdal_readback.h"
#include "tests/support/temp_dir.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <sys/resource.h>

#include <cstdio>

namespace {

// A flat colour per tile, different for every column and row.
unsigned char Channel(std::int64_t column, std::int64_t row, int channel) {
    return static_cast<unsigned char>(channel == 0   ? column * 37 % 256
                                      : channel == 1 ? 40 + row * 91 % 200
                                                     : 128);
}

void DrawTileRow(RgbPicture& band, std::int64_t row) {
    TilePixels tile(kTileSide, kTileSide, PixelFormat::Rgb888);
    for (std::int64_t column = 0; column < band.width() / kTileSide; ++column) {
        tile.Fill(std::uint32_t{Channel(column, row, 0)} << 16 |
                  std::uint32_t{Channel(column, row, 1)} << 8 | Channel(column, row, 2));
        band.DrawTile(tile, column * kTileSide, 0);
    }
}

RgbPicture TileRow(std::int64_t columns, std::int64_t row) {
    std::optional<RgbPicture> band = RgbPicture::Create(columns * kTileSide, kTileSide);
    DrawTileRow(*band, row);
    return std::move(*band);
}

// The process's peak resident size so far.
long PeakKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct WriteCase {
    TileBlock block;
    GeoTiffOptions options;
    const char* compression; // as GDAL names it
    int tolerance;           // per channel at a tile's centre
};

// Writes the case's pattern to path, one reused row of tiles at a time as the stitch job
// does; the peak memory growth in MiB, or a negative value on failure.
double WriteBlock(const QString& path, const WriteCase& c) {
    GeoTiffWriter writer(path, c.block, c.options);
    if (!writer.Begin())
        return -1;
    RgbPicture band = TileRow(c.block.columns, 0);
    const long startKib = PeakKib(); // a fresh process: about what it holds now
    for (std::int64_t row = 0; row < c.block.rows; ++row) {
        DrawTileRow(band, row);
        if (!writer.AddTileRow(band))
            return -1;
    }
    if (!writer.Finish())
        return -1;
    return double(PeakKib() - startKib) / 1024;
}

// Beyond JPEG's 65,535-pixel side, at level 9 over Europe: 112.5 MiB of pixels.
const WriteCase kWide{{9, 200, 160, 300, 2}, {GeoTiffCompression::Jpeg, 90}, "JPEG", 6};
const char kMeasureVariable[] = "ORBIVIST_MEASURE_GEOTIFF";

// Memory is measured in a fresh run of this test program, without the address sanitizer's
// quarantine (hundreds of MiB of freed blocks held back on purpose, which would count as
// the writer's); the sanitizer's other bookkeeping still counts.
TEST(GeoTiffWriter, MemoryStaysBoundedBeyondTheJpegLimit) {
    if (qEnvironmentVariableIsSet(kMeasureVariable)) {
        TempDir dir;
        std::printf("growth_mib=%f\n", WriteBlock(dir.file("wide.tif"), kWide));
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kMeasureVariable, "1");
    environment.insert("ASAN_OPTIONS", "quarantine_size_mb=0:detect_leaks=0");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=GeoTiffWriter.MemoryStaysBoundedBeyondTheJpegLimit"});
    ASSERT_TRUE(child.waitForFinished(300000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    const qsizetype at = output.indexOf("growth_mib=");
    ASSERT_GE(at, 0) << output.toStdString();
    const double growth = output.mid(at + 11).section('\n', 0, 0).toDouble();
    EXPECT_GE(growth, 0);
    EXPECT_LT(growth, 64) << "of a picture of 112.5 MiB";
}

class GeoTiffWriterTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(GeoTiffWriterTest, GdalReadsTheTilesBackWhereTheyBelong) {
    if (QStandardPaths::findExecutable(QStringLiteral("gdalinfo")).isEmpty())
        GTEST_SKIP() << "gdal-bin is not installed";
    const WriteCase& c = GetParam();
    TempDir dir;
    const QString path = dir.file("block.tif");
    ASSERT_GE(WriteBlock(path, c), 0);
    EXPECT_EQ(dir.names(), QStringList{"block.tif"});

    const QJsonObject info = GdalInfo(path);
    EXPECT_TRUE(info["coordinateSystem"]["wkt"].toString().contains(R"(ID["EPSG",3857]])"));
    const QJsonObject structure = info["metadata"]["IMAGE_STRUCTURE"].toObject();
    EXPECT_EQ(structure["LAYOUT"].toString(), "COG");
    EXPECT_TRUE(structure["COMPRESSION"].toString().contains(c.compression))
        << structure["COMPRESSION"].toString().toStdString();
    const QJsonObject band0 = info["bands"].toArray().at(0).toObject();
    EXPECT_EQ(band0["block"].toArray(), QJsonArray({256, 256}));
    EXPECT_FALSE(band0["overviews"].toArray().isEmpty());

    ExpectCornersOnBlock(info, c.block);

    const std::pair<std::int64_t, std::int64_t> probes[] = {
        {0, 0}, {c.block.columns - 1, c.block.rows - 1}, {c.block.columns / 2, 0}};
    for (const auto& [column, row] : probes) {
        const QList<QByteArray> values =
            ProgramOutput("gdallocationinfo",
                          {"-valonly", path, QString::number(column * 256 + 128),
                           QString::number(row * 256 + 128)})
                .trimmed()
                .split('\n');
        ASSERT_EQ(values.size(), 3);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(values[channel].toInt(), Channel(column, row, channel), c.tolerance)
                << "tile " << column << ',' << row << " channel " << channel;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, GeoTiffWriterTest,
                         ::testing::Values(kWide, WriteCase{{10, 600, 300, 3, 2},
                                                            {GeoTiffCompression::Deflate, 90},
                                                            "DEFLATE",
                                                            0}));

TEST(GeoTiffWriter, EveryFailureLeavesNothingBehind) {
    TempDir dir;
    const TileBlock block{4, 3, 3, 2, 1};
    const RgbPicture band = TileRow(2, 0);
    {
        GeoTiffWriter missingDirectory(dir.file("none/block.tif"), block, {});
        EXPECT_FALSE(missingDirectory.Begin());
        EXPECT_FALSE(missingDirectory.ErrorText().isEmpty());

        GeoTiffWriter cancelled(dir.file("cancelled.tif"), block, {});
        ASSERT_TRUE(cancelled.Begin());
        ASSERT_TRUE(cancelled.AddTileRow(band));
        EXPECT_FALSE(cancelled.Finish([](double) { return false; }));

        GeoTiffWriter short_(dir.file("short.tif"), {4, 3, 3, 2, 2}, {});
        ASSERT_TRUE(short_.Begin());
        ASSERT_TRUE(short_.AddTileRow(band));
        EXPECT_FALSE(short_.AddTileRow(TileRow(3, 0))); // too wide
        EXPECT_FALSE(short_.Finish());

        GeoTiffWriter abandoned(dir.file("abandoned.tif"), block, {});
        ASSERT_TRUE(abandoned.Begin());
        ASSERT_TRUE(abandoned.AddTileRow(band));
    }
    EXPECT_TRUE(dir.names().isEmpty());
}

TEST(GeoTiffWriter, DiskRoomDecidesWhatIsTooLarge) {
    TempDir dir;
    EXPECT_TRUE(GeoTiffFitsOnDisk(dir.file("a.tif"), {10, 0, 0, 4, 4}, GeoTiffCompression::Jpeg));
    // 2^20 tiles a side: petabytes.
    EXPECT_FALSE(GeoTiffFitsOnDisk(dir.file("a.tif"), {20, 0, 0, 1 << 20, 1 << 20},
                                   GeoTiffCompression::Jpeg));
}

} // namespace
