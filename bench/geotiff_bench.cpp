// SPDX-License-Identifier: GPL-3.0-or-later
// Stitching 64 by 64 tiles of real imagery from a warm cache into a Cloud-Optimized GeoTIFF
// through the stitching job, beside the JPEG route measured in the same run: the same tiles
// stitched by the job into one JPEG, then `gdal_translate -of COG` of that JPEG (given the
// memory to decode a progressive JPEG of that size: libjpeg is held to 500 MB by GDAL otherwise
// and refuses). And the writer's peak at the width of a 512-tile-wide picture, which bounds it
// for any height. Each part runs in a child of its own.
#include "bench/child_figures.h"
#include "bench/earth_tiles.h"
#include "bench/stitch_rectangle.h"
#include "gis/geotiff_writer.h"
#include "image/jpeg_decode.h"
#include "image/jpeg_encode.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kQuality = 90;
constexpr double kMiB = 1024.0 * 1024.0;

// Level 8 over Europe.
TileBlock BenchBlock(std::int64_t columns, std::int64_t rows) {
    return {8, 120, 80, columns, rows};
}

QString TileFile(const QString& cacheRoot, const TileBlock& block, std::int64_t i, std::int64_t j) {
    const TileKey key = CellInBlock(block, i, j);
    return cacheRoot + QString::fromStdString(key.Letters()) + ".jpg";
}

// Renders the block's real tiles into the cache; false when the Earth picture cannot be read.
bool FillCache(const QString& cacheRoot, const TileBlock& block) {
    for (std::int64_t j = 0; j < block.rows; ++j)
        for (std::int64_t i = 0; i < block.columns; ++i) {
            const QString path = TileFile(cacheRoot, block, i, j);
            QFile file(path);
            const QByteArray jpeg = EarthTileJpeg(path.mid(cacheRoot.size()).section('.', 0, 0));
            if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) ||
                file.write(jpeg) != jpeg.size())
                return false;
        }
    return true;
}

// Reads and decodes the tiles of row j into band, at rowY within it.
bool DrawRow(const QString& cacheRoot, const TileBlock& block, std::int64_t j, RgbPicture& band,
             qint64 rowY) {
    TilePixels tile;
    for (std::int64_t i = 0; i < block.columns; ++i) {
        QFile file(TileFile(cacheRoot, block, i, j));
        if (!file.open(QIODevice::ReadOnly) || !DecodeJpeg(file.readAll(), tile))
            return false;
        band.DrawTile(tile, i * kTileSide, rowY);
    }
    return true;
}

bool StitchGeoTiff(const QString& cacheRoot, const TileBlock& block, const QString& output,
                   ChildFigures& figures) {
    QElapsedTimer clock;
    clock.start();
    GeoTiffWriter writer(output, block, {GeoTiffCompression::Jpeg, kQuality});
    std::optional<RgbPicture> band = RgbPicture::Create(block.columns * kTileSide, kTileSide);
    if (!band || !writer.Begin())
        return false;
    for (std::int64_t j = 0; j < block.rows; ++j)
        if (!DrawRow(cacheRoot, block, j, *band, 0) || !writer.AddTileRow(*band))
            return false;
    figures.phaseSeconds[0] = double(clock.nsecsElapsed()) / 1e9;
    const bool done = writer.Finish();
    figures.phaseSeconds[1] = double(clock.nsecsElapsed()) / 1e9 - figures.phaseSeconds[0];
    return done;
}

// The row buffer is the stitch job's own; the writer's share of a peak is the rest.
double BandBytes(const TileBlock& block) {
    return double(block.columns) * kTileSide * kTileSide * 3;
}

void GeoTiffSixtyFourBySixtyFourFromCache(benchmark::State& state) {
    constexpr int kSide = 64;
    QTemporaryDir cache, out;
    const QString cacheRoot = cache.path() + '/';
    const QList<RectangleFile> files = RectangleFiles(cacheRoot, kSide);
    if (!FillCache(files, cacheRoot)) {
        state.SkipWithError("the real tiles could not be made");
        return;
    }
    InChild([&](ChildFigures&) { return DecodeAll(files); }); // the cache is warm from here
    const QString tif = out.filePath("stitched.tif"), jpeg = out.filePath("stitched.jpg"),
                  cog = out.filePath("translated.tif");
    double ours = 0, oursPeak = 0, jpegSeconds = 0, jpegPeak = 0, translate = 0, translatePeak = 0;
    for (auto _ : state) {
        const ChildFigures g =
            InChild([&](ChildFigures& f) { return StitchFromCache(cacheRoot, tif, kSide, f); });
        const ChildFigures j =
            InChild([&](ChildFigures& f) { return StitchFromCache(cacheRoot, jpeg, kSide, f); });
        const ChildFigures t = RunProgram(
            {"env", "JPEGMEM=4096M", "gdal_translate", "-q", "-of", "COG", "-co", "COMPRESS=JPEG",
             "-co", QStringLiteral("QUALITY=%1").arg(kQuality), "-co", "BLOCKSIZE=256", jpeg, cog});
        if (!g.ok || !j.ok || !t.ok) {
            state.SkipWithError("a part failed");
            return;
        }
        state.SetIterationTime(g.seconds);
        ours += g.seconds;
        oursPeak = std::max(oursPeak, g.peakGrowthBytes);
        jpegSeconds += j.seconds;
        jpegPeak = std::max(jpegPeak, j.peakGrowthBytes);
        translate += t.seconds;
        translatePeak = std::max(translatePeak, t.peakBytes);
    }
    const auto n = double(state.iterations());
    state.counters["geotiff_s"] = ours / n;
    state.counters["translate_s"] = translate / n;
    state.counters["time_ratio"] = ours / translate;
    state.counters["geotiff_MiB"] = oursPeak / kMiB;
    state.counters["translate_MiB"] = translatePeak / kMiB;
    std::printf("stitch job to GeoTIFF %.3f s vs gdal_translate -of COG of the JPEG %.3f s: "
                "x%.2f; the whole JPEG route %.3f s (stitch job to JPEG %.3f s + translate): "
                "x%.2f\n"
                "stitch job to GeoTIFF peak %.1f MiB above its start vs gdal_translate %.1f MiB "
                "(whole process), stitch job to JPEG %.1f MiB\n",
                ours / n, translate / n, ours / translate, (jpegSeconds + translate) / n,
                jpegSeconds / n, ours / (jpegSeconds + translate), oursPeak / kMiB,
                translatePeak / kMiB, jpegPeak / kMiB);
}
BENCHMARK(GeoTiffSixtyFourBySixtyFourFromCache)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// Memory grows with a picture's width alone (one row of tiles is in flight at a time).
void GeoTiffFiveHundredTwelveWide(benchmark::State& state) {
    QTemporaryDir cache, out;
    const QString cacheRoot = cache.path() + '/';
    const TileBlock block = BenchBlock(512, 3);
    if (!FillCache(cacheRoot, block)) {
        state.SkipWithError("the real tiles could not be made");
        return;
    }
    double peak = 0, seconds = 0;
    for (auto _ : state) {
        const ChildFigures g = InChild([&](ChildFigures& f) {
            return StitchGeoTiff(cacheRoot, block, out.filePath("wide.tif"), f);
        });
        if (!g.ok) {
            state.SkipWithError("the GeoTIFF failed");
            return;
        }
        state.SetIterationTime(g.seconds);
        seconds += g.seconds;
        peak = std::max(peak, g.peakGrowthBytes - BandBytes(block));
    }
    state.counters["geotiff_MiB"] = peak / kMiB;
    std::printf("512 x 3 tiles: GeoTIFF %.3f s, peak %.1f MiB above its start and its %.1f MiB "
                "row buffer\n",
                seconds / double(state.iterations()), peak / kMiB, 512.0 * 256 * 256 * 3 / kMiB);
}
BENCHMARK(GeoTiffFiveHundredTwelveWide)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
