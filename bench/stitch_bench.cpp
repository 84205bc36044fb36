// SPDX-License-Identifier: GPL-3.0-or-later
// Stitching 16 by 16 tiles of real imagery from a warm cache at quality 90, beside its floor
// measured in the same run: the same 256 files decoded in a plain loop, plus cjpeg making
// the same progressive file of the assembled picture. Each part runs in a child process of
// its own, so that its peak memory is its own.
#include "bench/child_figures.h"
#include "bench/stitch_rectangle.h"
#include "tiles/tile_side.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

constexpr int kSide = 16; // tiles a side
constexpr int kQuality = kBenchQuality;
constexpr double kMiB = 1024.0 * 1024.0;

void StitchSixteenBySixteenFromCache(benchmark::State& state) {
    QTemporaryDir cache, out;
    const QString cacheRoot = cache.path() + '/';
    const QList<RectangleFile> files = RectangleFiles(cacheRoot, kSide);
    const QString ppm = out.filePath(QStringLiteral("assembled.ppm"));
    if (!FillCache(files, cacheRoot) ||
        !InChild([&](ChildFigures&) { return WriteAssembledPpm(files, kSide, ppm); }).ok) {
        state.SkipWithError("the real tiles or the assembled picture could not be made");
        return;
    }
    const QString stitched = out.filePath(QStringLiteral("stitched.jpg"));
    const QString floorJpeg = out.filePath(QStringLiteral("floor.jpg"));
    InChild([&](ChildFigures&) { return DecodeAll(files); }); // the cache is warm from here
    const double bitmapBytes = 3.0 * kSide * kTileSide * kSide * kTileSide;
    double stitchSeconds = 0, loopSeconds = 0, saveSeconds = 0, stitchPeak = 0, stitchWholePeak = 0,
           decodeSeconds = 0, decodePeak = 0, cjpegSeconds = 0, cjpegPeak = 0;
    for (auto _ : state) {
        const ChildFigures stitch = InChild(
            [&](ChildFigures& f) { return StitchFromCache(cacheRoot, stitched, kSide, f); });
        const ChildFigures decode = InChild([&](ChildFigures&) { return DecodeAll(files); });
        const ChildFigures cjpeg = Cjpeg(ppm, floorJpeg);
        if (!stitch.ok || !decode.ok || !cjpeg.ok) {
            state.SkipWithError("a part failed");
            return;
        }
        state.SetIterationTime(stitch.seconds);
        stitchSeconds += stitch.seconds;
        loopSeconds += stitch.phaseSeconds[0];
        saveSeconds += stitch.phaseSeconds[1];
        stitchPeak = std::max(stitchPeak, stitch.peakGrowthBytes);
        stitchWholePeak = std::max(stitchWholePeak, stitch.peakBytes);
        decodeSeconds += decode.seconds;
        decodePeak = std::max(decodePeak, decode.peakGrowthBytes);
        cjpegSeconds += cjpeg.seconds;
        cjpegPeak = std::max(cjpegPeak, cjpeg.peakBytes);
    }
    const auto n = static_cast<double>(state.iterations());
    const double floorSeconds = (decodeSeconds + cjpegSeconds) / n;
    const double floorPeak = bitmapBytes + cjpegPeak;
    state.counters["stitch_s"] = stitchSeconds / n;
    state.counters["loop_s"] = loopSeconds / n;
    state.counters["save_s"] = saveSeconds / n;
    state.counters["floor_s"] = floorSeconds;
    state.counters["decode_s"] = decodeSeconds / n;
    state.counters["cjpeg_s"] = cjpegSeconds / n;
    state.counters["time_ratio"] = stitchSeconds / n / floorSeconds;
    state.counters["stitch_MiB"] = stitchPeak / kMiB;
    state.counters["floor_MiB"] = floorPeak / kMiB;
    state.counters["mem_ratio"] = stitchPeak / floorPeak;
    std::printf("stitch %.3f s (tile loop %.3f s, save %.3f s) vs floor %.3f s (decode %.3f s "
                "+ cjpeg %.3f s): x%.2f\n"
                "stitch peak %.1f MiB above its start (%.1f MiB whole child) vs floor %.1f MiB "
                "(bitmap %.1f + cjpeg %.1f; decode loop %.1f): x%.2f\n",
                stitchSeconds / n, loopSeconds / n, saveSeconds / n, floorSeconds,
                decodeSeconds / n, cjpegSeconds / n, stitchSeconds / n / floorSeconds,
                stitchPeak / kMiB, stitchWholePeak / kMiB, floorPeak / kMiB, bitmapBytes / kMiB,
                cjpegPeak / kMiB, decodePeak / kMiB, stitchPeak / floorPeak);
}
BENCHMARK(StitchSixteenBySixteenFromCache)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
