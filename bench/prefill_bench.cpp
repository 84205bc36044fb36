// SPDX-License-Identifier: GPL-3.0-or-later
// Prefilling a cold cache three levels below a level-2 view (256 tiles) from the demo
// server on loopback, beside one curl process fetching the same URLs one after another.
#include "batch/jobs/prefill_job.h"
#include "bench/curl_seconds.h"
#include "bench/earth_tiles.h"
#include "loader/tile_cache.h"
#include "net/http_client.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/support/fake_front_end.h"
#include "tiles/view_moves.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The program's client, timed, remembering what it was asked for.
class TimedHttp : public HttpGet {
public:
    std::optional<HttpFailure> Get(const QString& url, QByteArray& body) override {
        urls.append(url);
        QElapsedTimer timer;
        timer.start();
        std::optional<HttpFailure> failure = client_.Get(url, body);
        nanoseconds += timer.nsecsElapsed();
        return failure;
    }

    QStringList urls;
    qint64 nanoseconds = 0;

private:
    HttpClient client_;
};

void PrefillThreeLevelsFromServer(benchmark::State& state) {
    QTemporaryDir logDir;
    DemoServerProcess server(EarthImagePath(), {}, logDir.path() + "/server.log");
    if (server.Port() == 0) {
        state.SkipWithError("the demo server did not start");
        return;
    }
    const QString prefix = server.TilePrefix();
    const ViewUrls view = ZoomIntoTile(prefix + 'q');
    const BatchSettings settings{BatchRetry{3, 1, 25, 3, 3}, false};
    double prefillSeconds = 0, curlSeconds = 0, httpSeconds = 0, tiles = 0;
    for (auto _ : state) {
        QTemporaryDir cache, curlDir;
        TimedHttp http;
        TileCounters counters;
        FakeFrontEnd front;
        const JobServices services = front.Services(
            ViewSource{std::make_shared<PrefixTileSource>(prefix, cache.path() + '/'),
                       WorkMode::CacheAndInternet, http});
        QElapsedTimer timer;
        timer.start();
        const JobEnding ending = RunPrefill({view, 5, settings, counters}, services, front, front);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        if (ending != JobEnding::Done ||
            counters.receiveErrors + counters.badFileErrors + counters.writeErrors != 0) {
            state.SkipWithError("the prefill did not finish cleanly");
            return;
        }
        const double curl = CurlSeconds(http.urls, curlDir.path() + '/');
        if (curl < 0) {
            state.SkipWithError("curl failed");
            return;
        }
        prefillSeconds += seconds;
        curlSeconds += curl;
        httpSeconds += static_cast<double>(http.nanoseconds) / 1e9;
        tiles += static_cast<double>(http.urls.size());
    }
    state.counters["tiles"] = tiles / static_cast<double>(state.iterations());
    state.counters["prefill_tiles_per_s"] = tiles / prefillSeconds;
    state.counters["curl_tiles_per_s"] = tiles / curlSeconds;
    // Time in the HTTP client per tile, and the rest: decoding, storing, the job's own steps.
    state.counters["http_ms_per_tile"] = 1000 * httpSeconds / tiles;
    state.counters["rest_ms_per_tile"] = 1000 * (prefillSeconds - httpSeconds) / tiles;
}
BENCHMARK(PrefillThreeLevelsFromServer)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Writing one tile into the cache, as the loader does after every fetch.
void StoreOneTile(benchmark::State& state) {
    QTemporaryDir cache;
    const QByteArray jpeg = EarthTileJpeg(QStringLiteral("qrs"));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            StoreTileFile(cache.path() + QStringLiteral("/%1.jpg").arg(i++ % 64), jpeg));
}
BENCHMARK(StoreOneTile)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
