// SPDX-License-Identifier: GPL-3.0-or-later
// Counting and walking the tiles of regions of any shape beside a plain loop over as many
// (level, column, row) values: a 1 km corridor along a 300 km track at levels 12 to 17, and a
// country-sized polygon at level 17. Each part runs in a child process of its own, so that
// its peak memory is its own: it should not grow with the number of tiles.
#include "bench/child_figures.h"
#include "gis/area_file.h"
#include "tiles/region_tile_walk.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <time.h>

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// A track wandering north-east from Saint Petersburg for about 300 km, a vertex every 100 m or so.
GeoRegion Corridor() {
    QTemporaryDir dir;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> turn(-0.3, 0.3);
    double lon = 30.3, lat = 59.9, heading = 0.8;
    QByteArray coordinates;
    for (int i = 0; i < 3000; ++i) {
        coordinates += (i ? ",[" : "[") + QByteArray::number(lon, 'f', 7) + ',' +
                       QByteArray::number(lat, 'f', 7) + ']';
        heading += turn(random);
        lat += 0.0009 * std::cos(heading);
        lon += 0.0009 * std::sin(heading) / std::cos(lat * M_PI / 180);
    }
    const QByteArray json = R"({"type":"LineString","coordinates":[)" + coordinates + "]}";
    const QString path = dir.filePath("track.geojson");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size())
        return {};
    file.close();
    return GeoRegion(ReadAreaFile(path, 500).polygons);
}

// A polygon of 20,000 vertices about 900 km across, its outline winding like a coast: bays
// and capes of many sizes, and a small jitter at every vertex.
GeoRegion Country() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> phase(0, 2 * M_PI);
    std::uniform_real_distribution<double> jitter(-0.003, 0.003);
    double phases[6];
    for (double& p : phases)
        p = phase(random);
    GeoRing ring;
    constexpr int kVertices = 20'000;
    for (int i = 0; i < kVertices; ++i) {
        const double angle = 2 * M_PI * i / kVertices;
        double r = 4.0;
        for (int k = 0; k < 6; ++k)
            r += 0.6 / (k + 1) * std::sin((3 << k) * angle + phases[k]);
        ring.push_back({19 + r * 1.5 * std::cos(angle) + jitter(random),
                        52 + r * std::sin(angle) + jitter(random)});
    }
    return GeoRegion({{ring, {}}});
}

// The thread's own processor time, which the neighbours' share of a loaded machine does not
// swell: the work is the processor's alone, without a wait.
double ThreadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The fastest of several runs: on a shared machine the others measure the neighbours.
template <typename Work> double FastestSeconds(Work work) {
    double fastest = INFINITY;
    for (int run = 0; run < 7; ++run) {
        const double start = ThreadSeconds();
        if (!work())
            return NAN;
        fastest = std::min(fastest, ThreadSeconds() - start);
    }
    return fastest;
}

struct Figures {
    std::int64_t tiles = 0;
    double countSeconds = 0, walkSeconds = 0, loopSeconds = 0;
    double walkPeak = 0, loopPeak = 0;
    // Where the walk's time goes beyond the loop's: the sweep of the finest level, which
    // every exact walk makes, and reading the boundary's points once, which no sweep escapes.
    double finestSweepSeconds = 0, pointsSeconds = 0;
    std::int64_t finestRows = 0;
};

Figures Measure(const GeoRegion& region, int first, int last) {
    Figures figures;
    std::vector<std::int64_t> perLevel;
    for (int level = first; level <= last; ++level)
        perLevel.push_back(CountRegionTiles(region, level));
    figures.countSeconds = FastestSeconds([&] {
        figures.tiles = CountRegionTiles(region, first, last);
        return true;
    });
    figures.finestSweepSeconds = FastestSeconds([&] {
        RegionRows rows(region, last);
        figures.finestRows = 0;
        while (rows.Next())
            ++figures.finestRows;
        return true;
    });
    figures.pointsSeconds = FastestSeconds([&] {
        double west = INFINITY, east = -INFINITY;
        for (const GeoPoint& point : region.ChainPoints()) {
            west = std::min(west, point.longitude);
            east = std::max(east, point.longitude);
        }
        benchmark::DoNotOptimize(west);
        benchmark::DoNotOptimize(east);
        return true;
    });

    // Run by run, each run's tiles in a loop of the caller's own, as a caller that does
    // little with each tile goes through them.
    const auto walkAll = [&] {
        RegionTileWalk tiles(region, first, last);
        std::int64_t seen = 0;
        while (const std::optional<TileRun> run = tiles.NextRun()) {
            // Copied out, so that they stay in registers beside the tile handed on.
            const auto [level, row, first, last] = *run;
            for (std::uint64_t column = first; column <= last; ++column) {
                const TileKey key{level, static_cast<std::uint32_t>(column), row};
                benchmark::DoNotOptimize(key);
            }
            seen += std::int64_t{last} - first + 1;
        }
        return seen == figures.tiles;
    };
    const auto loopAll = [&] {
        constexpr std::uint32_t kWidth = 4096;
        for (int level = first; level <= last; ++level) {
            const std::int64_t n = perLevel[static_cast<std::size_t>(level - first)];
            for (std::uint32_t row = 0; std::int64_t{row} * kWidth < n; ++row)
                for (std::uint32_t column = 0;
                     column < kWidth && std::int64_t{row} * kWidth + column < n; ++column) {
                    const TileKey key{level, column, row};
                    benchmark::DoNotOptimize(key);
                }
        }
        return true;
    };
    figures.walkSeconds = FastestSeconds(walkAll);
    figures.loopSeconds = FastestSeconds(loopAll);
    // Peak memory from children of their own, so that each is the walk's or the loop's alone.
    figures.walkPeak = InChild([&](ChildFigures&) { return walkAll(); }).peakGrowthBytes;
    figures.loopPeak = InChild([&](ChildFigures&) { return loopAll(); }).peakGrowthBytes;
    return figures;
}

// The walk reads every point of the boundary once a level: where the region has more
// points than tiles, as a buffered track does at the coarser levels, that sets its floor.
void ReportBoundary(const char* name, const GeoRegion& region, int levels) {
    std::printf("%s: a boundary of %zu points in %zu chains, read %d times\n", name,
                region.ChainPoints().size(), region.ChainsFromNorth().size(), levels);
}

void Report(benchmark::State& state, const char* name, const Figures& f) {
    state.counters["tiles"] = static_cast<double>(f.tiles);
    state.counters["count_s"] = f.countSeconds;
    state.counters["walk_s"] = f.walkSeconds;
    state.counters["loop_s"] = f.loopSeconds;
    state.counters["walk_ratio"] = f.walkSeconds / f.loopSeconds;
    state.counters["walk_MiB"] = f.walkPeak / kMiB;
    std::printf("%s: %lld tiles; count %.3f ms, walk %.3f ms vs plain loop %.3f ms: x%.2f "
                "(goal x2); walk peak %.2f MiB above its start, loop %.2f MiB\n",
                name, static_cast<long long>(f.tiles), f.countSeconds * 1e3, f.walkSeconds * 1e3,
                f.loopSeconds * 1e3, f.walkSeconds / f.loopSeconds, f.walkPeak / kMiB,
                f.loopPeak / kMiB);
    std::printf("  of the walk: the finest level's sweep of %lld rows %.1f us; reading the "
                "boundary's points once %.1f us\n",
                static_cast<long long>(f.finestRows), f.finestSweepSeconds * 1e6,
                f.pointsSeconds * 1e6);
}

void CorridorAlongTrackLevels12To17(benchmark::State& state) {
    const GeoRegion region = Corridor();
    if (region.IsEmpty()) {
        state.SkipWithError("the corridor could not be made");
        return;
    }
    Figures f;
    for (auto _ : state) {
        f = Measure(region, 12, 17);
        state.SetIterationTime(f.walkSeconds);
    }
    Report(state, "corridor 1 km x 300 km, levels 12-17", f);
    ReportBoundary("corridor", region, 6);
}
BENCHMARK(CorridorAlongTrackLevels12To17)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void CountryAtLevel17(benchmark::State& state) {
    const GeoRegion region = Country();
    Figures f;
    for (auto _ : state) {
        f = Measure(region, 17, 17);
        state.SetIterationTime(f.walkSeconds);
    }
    Report(state, "country of 20,000 vertices, level 17", f);
    ReportBoundary("country", region, 1);
}
BENCHMARK(CountryAtLevel17)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
