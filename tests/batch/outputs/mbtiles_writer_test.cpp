// SPDX-License-Identifier: GPL-3.0-or-later
// MBTiles files as sqlite3 and GDAL's reader see them.
#include "batch/outputs/mbtiles_writer.h"
#include "tiles/region_plan.h"

#include "tests/support/gdal_readback.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <QStandardPaths>

namespace {

TEST(MbtilesWriter, ReadersFindTheLevelsTheBoundsAndTheTiles) {
    if (QStandardPaths::findExecutable("sqlite3").isEmpty() ||
        QStandardPaths::findExecutable("gdalinfo").isEmpty())
        GTEST_SKIP() << "sqlite3 or gdal-bin is not installed";
    TempDir dir;
    const QString path = dir.file("region.mbtiles");
    // A view at level 5 over Europe, two levels deep: 4, 16 and 64 tiles.
    const std::vector<TileBlock> plan = PlanRegion({.level = 5, .column = 10, .row = 17}, 7);
    const QByteArray jpeg = MakeTestJpeg(256, 256, QColor(200, 120, 40));
    {
        MbtilesWriter writer(path);
        ASSERT_TRUE(writer.Begin({"Область", "© source", 5, 7, BlockBounds(plan.front())}));
        for (const TileBlock& block : plan)
            for (std::int64_t j = 0; j < block.rows; ++j)
                for (std::int64_t i = 0; i < block.columns; ++i)
                    ASSERT_TRUE(writer.AddTile(CellInBlock(block, i, j), jpeg));
        ASSERT_TRUE(writer.Finish()) << writer.ErrorText().toStdString();
    }
    EXPECT_EQ(dir.names(), QStringList{"region.mbtiles"});

    const auto query = [&](const QString& sql) {
        return QString::fromUtf8(ProgramOutput("sqlite3", {path, sql}).trimmed());
    };
    EXPECT_EQ(query("SELECT value FROM metadata WHERE name IN ('format', 'type', 'minzoom', "
                    "'maxzoom', 'name') ORDER BY name"),
              "jpg\n7\n5\nОбласть\nbaselayer");
    EXPECT_EQ(query("SELECT count(*), min(zoom_level), max(zoom_level) FROM tiles"), "84|5|7");
    // TMS rows count from the south: row 17 of level 5's 32 is row 14 there.
    EXPECT_EQ(query("SELECT min(tile_row), max(tile_row) FROM tiles WHERE zoom_level = 5"),
              "13|14");
    EXPECT_EQ(query("SELECT length(tile_data) FROM tiles LIMIT 1").toLongLong(), jpeg.size());
    EXPECT_TRUE(query(".schema tiles").contains("UNIQUE INDEX"));

    const QJsonObject info = GdalInfo(path);
    EXPECT_EQ(info["driverShortName"].toString(), "MBTiles");
    EXPECT_EQ(info["size"].toArray(), QJsonArray({8 * 256, 8 * 256})); // level 7
    EXPECT_EQ(info["bands"][0]["overviews"].toArray().size(), 2);      // levels 6 and 5
    ExpectCornersOnBlock(info, plan.back());
}

TEST(MbtilesWriter, AnUnfinishedOrFailedFileLeavesNothing) {
    TempDir dir;
    {
        MbtilesWriter unfinished(dir.file("a.mbtiles"));
        ASSERT_TRUE(unfinished.Begin({"a", "", 1, 1, {}}));
        EXPECT_TRUE(unfinished.AddTile({1, 1, 0}, "jpeg"));
        EXPECT_FALSE(unfinished.AddTile({1, 2, 0}, "jpeg")); // no such column at level 1
        EXPECT_FALSE(unfinished.Finish());
        MbtilesWriter nowhere(dir.file("none/a.mbtiles"));
        EXPECT_FALSE(nowhere.Begin({"a", "", 1, 1, {}}));
    }
    EXPECT_TRUE(dir.names().isEmpty());
}

} // namespace
