// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the user runs it, a whole process each time, beside its reference started
// the same way in the same run: `orbivist stitch` against the decode loop plus cjpeg, and
// the idle viewer against a Qt Widgets hello-world. Pairs are interleaved so that a change
// in the machine's load falls on both sides, and the median of their ratios is printed.
#include "batch/jobs/stitch_plan.h"
#include "bench/child_figures.h"
#include "bench/curl_seconds.h"
#include "bench/earth_tiles.h"
#include "bench/stitch_rectangle.h"
#include "sources/tile_source.h"
#include "store/settings_file.h"
#include "tests/e2e/demo_server_process.h"
#include "tiles/tile_side.h"
#include "tiles/view_moves.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
const QString kOrbivist = QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist");
const QString kHello = QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist-hello");

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRow(const char* measure, double figure, double reference, const char* unit, double goal,
              bool atMost) {
    const double ratio = reference > 0 ? figure / reference : 0;
    std::printf("%-52s %9.3f %s vs %9.3f %s: x%.2f (goal %s %.2f) %s\n", measure, figure, unit,
                reference, unit, ratio, atMost ? "<=" : ">=", goal,
                (atMost ? ratio <= goal : ratio >= goal) ? "met" : "NOT met");
}

// The figures of runs taken in pairs, one of ours then one of the reference, so that a change
// in the machine's load falls on both: the row of the medians and the median of the ratios.
struct Pairs {
    std::vector<double> figures, references, ratios;

    void Add(double figure, double reference) {
        figures.push_back(figure);
        references.push_back(reference);
        ratios.push_back(figure / reference);
    }
    // Prints the row with each median times scale; returns the median of the pair ratios.
    double Report(const char* measure, double scale, const char* unit, double goal,
                  bool atMost) const {
        PrintRow(measure, Median(figures) * scale, Median(references) * scale, unit, goal, atMost);
        const double ratio = Median(ratios);
        std::printf("  median of %zu pair ratios: x%.2f\n", ratios.size(), ratio);
        return ratio;
    }
};

// A program directory whose settings show the view (the benchmark view unless given), with
// its cache in Cash/.
bool WriteHome(const QString& home, const ViewUrls& view = BenchView(),
               qsizetype prefixLength = kBenchPrefix.size()) {
    using namespace SettingsLine;
    SettingsLines lines;
    lines.fill(QStringLiteral("-"));
    for (int slot = 0; slot < 4; ++slot)
        lines[ViewTopLeft + slot] = view[slot];
    lines[ModeCacheAndInternet] = "ci";
    lines[PrefixLength] = QString::number(prefixLength);
    lines[LatHemisphere] = lines[SearchZoom] = "0";
    lines[LonHemisphere] = "1";
    lines[StitchColumns] = lines[StitchRows] = "2";
    lines[JpegQuality] = QString::number(kBenchQuality);
    lines[PrefillLevel] = "8";
    lines[FetchAttempts] = "1";
    lines[WriteErrorLimit] = lines[ReceiveErrorLimit] = lines[BadFileErrorLimit] = "3";
    lines[CacheDirectory] = "";
    lines[RetryInterval] = "1";
    return SaveSettings(home + "/ORB.ini", lines) && QDir().mkpath(home + "/Cash");
}

// A program directory whose cache holds the four tiles of the benchmark view; a failure is
// the benchmark's error.
bool WriteHomeWithViewCached(const QString& home, benchmark::State& state) {
    const QString cacheRoot = home + "/Cash/";
    if (WriteHome(home) && FillCache(RectangleFiles(cacheRoot, 2), cacheRoot))
        return true;
    state.SkipWithError("the home could not be made");
    return false;
}

// In a child about to run a program: the offscreen platform, and Qt's notes about its
// environment and the hello-world's line kept off the benchmark's table.
void QuietChild() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    SilenceOutput();
}

// A program started with the offscreen platform, ended after it has idled for a while:
// its peak resident size.
double IdlePeakBytes(const QStringList& arguments, int idleMs) {
    ExecArguments argv(arguments);
    const pid_t pid = ::fork();
    if (pid < 0)
        return 0;
    if (pid == 0) {
        QuietChild();
        ::execv(argv.path(), argv.get());
        ::_exit(127);
    }
    ::usleep(static_cast<useconds_t>(idleMs) * 1000);
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return 0;
    return static_cast<double>(usage.ru_maxrss) * 1024;
}

// A program started with the offscreen platform, from its fork until ready says so (or 10 s
// pass), then ended; the seconds it took, or a negative figure when it never did.
double SecondsUntil(const QStringList& arguments, int readyFd, const std::function<bool()>& ready) {
    ExecArguments argv(arguments);
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        QuietChild();
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv.path(), argv.get());
        ::_exit(127);
    }
    ::close(out[1]);
    double seconds = -1;
    pollfd watched[2] = {{readyFd >= 0 ? readyFd : out[0], POLLIN, 0}, {out[0], POLLIN, 0}};
    while (timer.elapsed() < 10000 && ::poll(watched, 1, 100) >= 0) {
        if ((watched[0].revents & POLLIN) != 0 && ready()) {
            seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            break;
        }
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    ::close(out[0]);
    return seconds;
}

// One side of `orbivist stitch` over side by side tiles, and its floor, in interleaved pairs.
void StitchWholeProcess(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const int pairs = static_cast<int>(state.range(1));
    QTemporaryDir home, out;
    const QString cacheRoot = home.path() + "/Cash/";
    const QList<RectangleFile> files = RectangleFiles(cacheRoot, side);
    const QString ppm = out.filePath(QStringLiteral("assembled.ppm"));
    if (!WriteHome(home.path()) || !FillCache(files, cacheRoot) ||
        !InChild([&](ChildFigures&) { return WriteAssembledPpm(files, side, ppm); }).ok) {
        state.SkipWithError("the home, the real tiles or the assembled picture could not be made");
        return;
    }
    const QStringList stitch{kOrbivist,   "stitch",
                             "--home",    home.path(),
                             "--output",  out.filePath("stitched.jpg"),
                             "--columns", QString::number(side),
                             "--rows",    QString::number(side),
                             "--quality", QString::number(kBenchQuality)};
    const QString floorJpeg = out.filePath(QStringLiteral("floor.jpg"));
    Pairs times, peaks;
    const double bitmapBytes = 3.0 * side * kTileSide * side * kTileSide;
    // One untimed round first. On a virtual machine, memory the guest has not used lately costs
    // a host fault for every page on its first touch (a fresh 6 GiB took 7.8 s in the kernel
    // here); the first program of the first pair, always ours, would pay that for both.
    RunProgram(stitch);
    Cjpeg(ppm, floorJpeg);
    for (auto _ : state) {
        for (int pair = 0; pair < pairs; ++pair) {
            const ChildFigures program = RunProgram(stitch);
            const ChildFigures decode = InChild([&](ChildFigures&) { return DecodeAll(files); });
            const ChildFigures cjpeg = Cjpeg(ppm, floorJpeg);
            if (!program.ok || !decode.ok || !cjpeg.ok) {
                state.SkipWithError("a part failed");
                return;
            }
            const double floorSeconds = decode.seconds + cjpeg.seconds;
            const double floorPeak = bitmapBytes + cjpeg.peakBytes;
            times.Add(program.seconds, floorSeconds);
            peaks.Add(program.peakBytes, floorPeak);
        }
        state.SetIterationTime(Median(times.figures));
    }
    char measure[96];
    std::snprintf(measure, sizeof measure, "stitch %d x %d, whole process, time", side, side);
    state.counters["time_ratio"] = times.Report(measure, 1000, "ms", side <= 4 ? 1.5 : 1.1, true);
    std::snprintf(measure, sizeof measure, "stitch %d x %d, whole process, peak memory", side,
                  side);
    state.counters["mem_ratio"] =
        peaks.Report(measure, 1.0 / kMiB, "MiB", side <= 4 ? 1.5 : 1.1, true);
}
// Tiles a side and pairs: the largest takes minutes a run and 3 GiB a picture.
BENCHMARK(StitchWholeProcess)
    ->Args({4, 7})
    ->Args({16, 7})
    ->Args({128, 3})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// `orbivist prefill` over a region the cache already holds (the view's four tiles four levels
// down: 1,024 tiles), per tile, against the same files read and decoded in a plain loop.
void CachedPrefillWholeProcess(benchmark::State& state) {
    constexpr int kLevelsDown = 4;
    constexpr int kSide = 2 << kLevelsDown;
    QTemporaryDir home;
    const QString cacheRoot = home.path() + "/Cash/";
    const QList<RectangleFile> files = RectangleFiles(cacheRoot, kSide, kLevelsDown);
    const QList<RectangleFile> view = RectangleFiles(cacheRoot, 2);
    if (!WriteHome(home.path()) || !FillCache(files, cacheRoot) || !FillCache(view, cacheRoot)) {
        state.SkipWithError("the home or the real tiles could not be made");
        return;
    }
    const int depth =
        ViewRefs(BenchView(), static_cast<int>(kBenchPrefix.size())).Level() + kLevelsDown;
    const QStringList prefill{kOrbivist,   "prefill", "--home",
                              home.path(), "--depth", QString::number(depth)};
    const double tiles = files.size();
    Pairs perTile;
    for (auto _ : state) {
        for (int pair = 0; pair < 5; ++pair) {
            const ChildFigures program = RunProgram(prefill);
            const ChildFigures decode = InChild([&](ChildFigures&) { return DecodeAll(files); });
            if (!program.ok || !decode.ok) {
                state.SkipWithError("a part failed");
                return;
            }
            perTile.Add(program.seconds / tiles, decode.seconds / tiles);
        }
        state.SetIterationTime(Median(perTile.figures));
    }
    state.counters["time_ratio"] = perTile.Report(
        "prefill of 1,024 cached tiles, whole process, per tile", 1e3, "ms", 1.2, true);
}
BENCHMARK(CachedPrefillWholeProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of an MBTiles export: the files read one after another and inserted in one
// SQLite transaction into a table of the MBTiles layout.
bool InsertAllInOneTransaction(const QList<RectangleFile>& files, const QString& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* insert = nullptr;
    bool ok = sqlite3_exec(db,
                           "CREATE TABLE tiles (zoom_level integer, tile_column integer, "
                           "tile_row integer, tile_data blob); BEGIN",
                           nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db, "INSERT INTO tiles VALUES (?, ?, ?, ?)", -1, &insert,
                                 nullptr) == SQLITE_OK;
    for (qsizetype i = 0; ok && i < files.size(); ++i) {
        QFile file(files[i].path);
        const QByteArray jpeg = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        ok = !jpeg.isEmpty() && sqlite3_bind_int(insert, 1, 0) == SQLITE_OK &&
             sqlite3_bind_int(insert, 2, files[i].x) == SQLITE_OK &&
             sqlite3_bind_int64(insert, 3, i) == SQLITE_OK &&
             sqlite3_bind_blob(insert, 4, jpeg.constData(), static_cast<int>(jpeg.size()),
                               SQLITE_TRANSIENT) == SQLITE_OK &&
             sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    return sqlite3_close(db) == SQLITE_OK && ok;
}

// `orbivist export` to MBTiles of a region the cache holds at every level (the view's four
// tiles and five levels below them: 5,460 tiles), against the same files inserted in one
// SQLite transaction.
void CachedExportWholeProcess(benchmark::State& state) {
    constexpr int kLevelsDown = 5;
    QTemporaryDir home, work;
    const QString cacheRoot = home.path() + "/Cash/";
    QList<RectangleFile> files;
    for (int down = 0; down <= kLevelsDown; ++down)
        files += RectangleFiles(cacheRoot, 2 << down, down);
    if (!WriteHome(home.path()) || !FillCache(files, cacheRoot)) {
        state.SkipWithError("the home or the real tiles could not be made");
        return;
    }
    const QString depth = QString::number(
        ViewRefs(BenchView(), static_cast<int>(kBenchPrefix.size())).Level() + kLevelsDown);
    Pairs seconds;
    for (auto _ : state) {
        for (int pair = 0; pair < 5; ++pair) {
            const QString ours = work.filePath(QStringLiteral("ours%1.mbtiles").arg(pair));
            const QString floor = work.filePath(QStringLiteral("floor%1.mbtiles").arg(pair));
            const ChildFigures program = RunProgram(
                {kOrbivist, "export", "--home", home.path(), "--output", ours, "--depth", depth});
            const ChildFigures insert =
                InChild([&](ChildFigures&) { return InsertAllInOneTransaction(files, floor); });
            if (!program.ok || !insert.ok) {
                state.SkipWithError("the export or the floor failed");
                return;
            }
            seconds.Add(program.seconds, insert.seconds);
        }
        state.SetIterationTime(Median(seconds.figures));
    }
    state.counters["time_ratio"] =
        seconds.Report("export of 5,460 cached tiles to MBTiles, whole process", 1, "s", 1.5, true);
}
BENCHMARK(CachedExportWholeProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// `orbivist prefill` of 1,024 tiles from the demo server on loopback into an empty cache,
// against one curl process fetching the same URLs one after another: curl's time over the
// program's, so that above 1 the program is the faster.
void LoopbackPrefillWholeProcess(benchmark::State& state) {
    QTemporaryDir home, work;
    DemoServerProcess server(EarthImagePath(), {}, work.filePath("server.log"));
    if (server.Port() == 0) {
        state.SkipWithError("the demo server did not start");
        return;
    }
    const QString prefix = server.TilePrefix();
    const int prefixLength = static_cast<int>(prefix.size());
    const ViewUrls view = ZoomIntoTile(prefix + 'q');
    constexpr int kLevelsDown = 4;
    const StitchPlan region =
        PlanStitch(view[0].mid(prefixLength) + QString(kLevelsDown, QLatin1Char('q')),
                   2 << kLevelsDown, 2 << kLevelsDown);
    QStringList urls;
    for (const StitchTile& tile : region.tiles)
        urls.append(prefix + tile.letters);
    const QString depth = QString::number(ViewRefs(view, prefixLength).Level() + kLevelsDown);
    const QStringList prefill{kOrbivist, "prefill", "--home", home.path(), "--depth", depth};
    Pairs curlOverOurs;
    for (auto _ : state) {
        for (int pair = 0; pair < 5; ++pair) {
            QDir(home.filePath("Cash")).removeRecursively();
            const QString curlDir = work.filePath(QString::number(pair)) + '/';
            if (!WriteHome(home.path(), view, prefixLength) || !QDir().mkpath(curlDir)) {
                state.SkipWithError("the home could not be made");
                return;
            }
            const ChildFigures program = RunProgram(prefill);
            const double curl = CurlSeconds(urls, curlDir);
            if (!program.ok || curl < 0) {
                state.SkipWithError("the prefill or curl failed");
                return;
            }
            curlOverOurs.Add(curl, program.seconds);
        }
        state.SetIterationTime(Median(curlOverOurs.references));
    }
    state.counters["speed_ratio"] = curlOverOurs.Report(
        "prefill of 1,024 tiles over loopback, curl's time over ours", 1, "s", 1.0, false);
}
BENCHMARK(LoopbackPrefillWholeProcess)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The viewer idling on its first view from a warm cache, against the hello-world.
void IdleMemoryWholeProcess(benchmark::State& state) {
    QTemporaryDir home;
    if (!WriteHomeWithViewCached(home.path(), state))
        return;
    constexpr int kIdleMs = 1500;
    Pairs peaks;
    for (auto _ : state) {
        for (int pair = 0; pair < 5; ++pair) {
            const double peak = IdlePeakBytes({kOrbivist, "--home", home.path()}, kIdleMs);
            const double hello = IdlePeakBytes({kHello}, kIdleMs);
            if (peak <= 0 || hello <= 0) {
                state.SkipWithError("a program did not run");
                return;
            }
            peaks.Add(peak, hello);
        }
    }
    state.counters["mem_ratio"] =
        peaks.Report("idle peak memory, whole process", 1.0 / kMiB, "MiB", 1.3, true);
}
BENCHMARK(IdleMemoryWholeProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// From exec until the viewer has read the four tiles of its first view from the cache (their
// decoding and painting follow within milliseconds), against the hello-world's first paint.
void ColdStartWholeProcess(benchmark::State& state) {
    QTemporaryDir home;
    const QString cacheRoot = home.path() + "/Cash/";
    if (!WriteHomeWithViewCached(home.path(), state))
        return;
    Pairs starts;
    for (auto _ : state) {
        for (int pair = 0; pair < 7; ++pair) {
            const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            ::inotify_add_watch(watch, QFile::encodeName(cacheRoot).constData(), IN_CLOSE_NOWRITE);
            QSet<QByteArray> read;
            const double start = SecondsUntil({kOrbivist, "--home", home.path()}, watch, [&] {
                alignas(inotify_event) char events[4096];
                const ssize_t size = ::read(watch, events, sizeof events);
                for (ssize_t at = 0; at < size;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                    if (event->len > 0)
                        read.insert(QByteArray(event->name));
                    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                }
                return read.size() >= 4;
            });
            ::close(watch);
            const double hello = SecondsUntil({kHello}, -1, [] { return true; });
            if (start <= 0 || hello <= 0) {
                state.SkipWithError("a program did not show its window");
                return;
            }
            starts.Add(start, hello);
        }
    }
    state.counters["time_ratio"] =
        starts.Report("cold start, exec to first view's tiles (offscreen)", 1000, "ms", 1.3, true);
}
BENCHMARK(ColdStartWholeProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
