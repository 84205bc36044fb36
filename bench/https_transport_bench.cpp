// 1,024 tiles over HTTPS from the demo server behind nginx, every reply delayed by 50 ms as
// over a distant network: the template transport with 4 connections and with 1, beside
// curl --parallel --parallel-max 4 fetching the same URLs in the same run.
#include "bench/curl_seconds.h"
#include "bench/earth_tiles.h"
#include "fetch/curl_transport.h"
#include "fetch/url_template.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tls_front.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {

// Seconds the transport takes for urls with the given connections; -1 when a tile failed.
double TransportSeconds(const QStringList& urls, int connections, const QString& caFile) {
    SourceDefinition source;
    source.name = "bench";
    source.connections = connections;
    TransportSettings settings;
    settings.caFile = caFile;
    CurlTransport transport(source, settings);
    bool clean = true;
    QElapsedTimer timer;
    timer.start();
    transport.FetchAll(
        urls, [&](qsizetype, TileFetch fetch) { clean &= fetch.result == TileFetch::Result::Data; },
        [] { return true; });
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return clean ? seconds : -1;
}

void HttpsTilesFiftyMsAway(benchmark::State& state) {
    TempDir dir;
    DemoServerProcess server(EarthImagePath(), {"--delay-ms", "50"}, dir.file("server.log"));
    TlsFront front(dir, server.Port());
    if (server.Port() == 0 || front.Port() == 0) {
        state.SkipWithError(qPrintable("no HTTPS server: " + front.Problem()));
        return;
    }
    QStringList urls; // level 5: 32 by 32 tiles
    for (quint32 row = 0; row < 32; ++row)
        for (quint32 column = 0; column < 32; ++column)
            urls << ExpandUrlTemplate(front.Url("/{z}/{x}/{y}.jpg"), {}, 5, column, row);
    double four = 0, one = 0, curl = 0;
    for (auto _ : state) {
        const double f = TransportSeconds(urls, 4, front.CaFile());
        const double o = TransportSeconds(urls, 1, front.CaFile());
        const double c = CurlSeconds(
            urls, dir.path(), {"--parallel", "--parallel-max", "4", "--cacert", front.CaFile()});
        if (f < 0 || o < 0 || c < 0) {
            state.SkipWithError("a fetch failed");
            return;
        }
        state.SetIterationTime(f);
        four += f;
        one += o;
        curl += c;
    }
    const double tiles = static_cast<double>(urls.size() * state.iterations());
    state.counters["n4_tiles_per_s"] = tiles / four;
    state.counters["n1_tiles_per_s"] = tiles / one;
    state.counters["curl_parallel4_tiles_per_s"] = tiles / curl;
    state.counters["n4_vs_curl"] = curl / four;
    state.counters["n4_vs_n1"] = one / four;
}
BENCHMARK(HttpsTilesFiftyMsAway)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
