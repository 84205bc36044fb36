// SPDX-License-Identifier: GPL-3.0-or-later
// The map of a 1280 by 900 window, a block of 5 by 3 tiles: a zoom click until its last tile
// is drawn, from a source of 4 connections whose server answers 50 ms late, beside the
// network's own limit of one round trip per 4 tiles; and a refresh of the same block from the
// cache (each tile's file read, decoded, made a pixmap and painted) beside the decoding of its
// tiles alone.
#include "app/tform1.h"
#include "bench/earth_tiles.h"
#include "tests/e2e/demo_server_process.h"
#include "tiles/view_moves.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>

namespace {

constexpr int kDelayMs = 50;
constexpr int kConnections = 4;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// This thread's processor time: on a shared machine it leaves out the time other processes had.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// A shown 1280 by 900 window on a program directory of its own, its sources file naming the
// template source "near" at url.
std::unique_ptr<TForm1> OpenLargeWindow(const QString& home, const QString& url) {
    QFile sources(home + "/MySources.ini");
    if (!sources.open(QIODevice::WriteOnly))
        return nullptr;
    sources.write(QStringLiteral("[near]\nurl = %1\nconnections = %2\nrate = 1000\n")
                      .arg(url)
                      .arg(kConnections)
                      .toUtf8());
    sources.close();
    const ProgramHome programHome{home + '/'};
    QDir().mkpath(programHome.DefaultCacheRoot());
    auto form = std::make_unique<TForm1>(programHome);
    form->resize(1280, 900);
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// Each iteration shows a level-4 view, then clicks its top-left tile: the time from the
// click until RefreshView has drawn the last tile of the level-5 block.
void ZoomClickToLastTile(benchmark::State& state) {
    TempDir dir;
    DemoServerProcess server(EarthImagePath(), {"--delay-ms", QString::number(kDelayMs)},
                             dir.file("server.log"));
    if (server.Port() == 0)
        return state.SkipWithError("the demo server did not start");
    QTemporaryDir home;
    const auto form = OpenLargeWindow(
        home.path(), QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.jpg").arg(server.Port()));
    if (!form || !form->ChooseSource("near"))
        return state.SkipWithError("no window on the source");
    form->RadioButton2->setChecked(true); // internet only: every tile crosses the network
    const QString prefix = form->CurrentViewRefs().Prefix();
    const ViewUrls four = BlockFromAnchor("qsqs");
    const int tiles = form->CurrentBlockSize().columns * form->CurrentBlockSize().rows;
    double clicks = 0;
    for (auto _ : state) {
        form->viewUrls = {prefix + four[0], prefix + four[1], prefix + four[2], prefix + four[3]};
        form->RefreshView();
        const auto start = std::chrono::steady_clock::now();
        form->ImageClick(0, Qt::LeftButton);
        const double click = SecondsSince(start);
        state.SetIterationTime(click);
        clicks += click;
    }
    const double limit = std::ceil(tiles / double(kConnections)) * kDelayMs / 1000.0;
    state.counters["tiles"] = tiles;
    state.counters["limit_s"] = limit;
    state.counters["x_limit"] = clicks / double(state.iterations()) / limit; // goal: 1.3
}
BENCHMARK(ZoomClickToLastTile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The block of level 3 around the tile "qs", every tile of it in the cache.
void WarmBlockRefresh(benchmark::State& state) {
    QTemporaryDir home;
    const auto form =
        OpenLargeWindow(home.path(), QStringLiteral("http://127.0.0.1:1/{z}/{x}/{y}.jpg"));
    if (!form || !form->ChooseSource("demo"))
        return state.SkipWithError("no window");
    form->RadioButton1->setChecked(true); // cache only
    const QString prefix = form->CurrentViewRefs().Prefix();
    const ViewUrls four = BlockFromAnchor("qss");
    form->viewUrls = {prefix + four[0], prefix + four[1], prefix + four[2], prefix + four[3]};
    std::vector<QByteArray> jpegs;
    for (const QString& ref : form->BlockRefs()) {
        if (ref.isEmpty())
            continue; // beyond the poles
        const QString letters = ref.mid(prefix.size());
        jpegs.push_back(EarthTileJpeg(letters));
        QFile file(form->cacheRoot + letters + ".jpg");
        if (jpegs.back().isEmpty() || !file.open(QIODevice::WriteOnly))
            return state.SkipWithError("no Earth picture or no cache");
        file.write(jpegs.back());
    }
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ThreadCpuSeconds();
    for (auto _ : state) {
        form->RefreshView();
        QCoreApplication::processEvents();
    }
    const double refresh = SecondsSince(start) / double(state.iterations());
    const double refreshCpu = (ThreadCpuSeconds() - startCpu) / double(state.iterations());
    if (form->counters.receiveErrors + form->counters.badFileErrors != 0)
        return state.SkipWithError("the block did not come from the cache");
    // The floor beside it, from the same run: decoding the same tiles from memory as the view
    // decodes them, with no file read, pixmap or paint.
    constexpr int kRounds = 50;
    const double decodeStartCpu = ThreadCpuSeconds();
    const double decode = ViewDecodeSeconds(jpegs, kRounds);
    const double decodeCpu = (ThreadCpuSeconds() - decodeStartCpu) / kRounds;
    state.counters["tiles"] = double(jpegs.size());
    state.counters["refresh_ms"] = refresh * 1000;
    state.counters["decode_ms"] = decode * 1000;
    state.counters["x_decode"] = refresh / decode;           // the goal is at most 1.5
    state.counters["x_decode_cpu"] = refreshCpu / decodeCpu; // the same in processor time
}
BENCHMARK(WarmBlockRefresh)->Unit(benchmark::kMillisecond);

} // namespace
