// SPDX-License-Identifier: GPL-3.0-or-later
// 1,024 tiles over HTTPS from the demo server behind nginx, every reply delayed by 50 ms as
// over a distant network: the template transport with 4 and 16 connections and with 1, beside
// curl --parallel --parallel-max 4 and 16 fetching the same URLs in the same run.
#include "bench/https_fifty_ms.h"
#include "net/curl_transport.h"

#include <QElapsedTimer>

namespace {

// Seconds the transport takes for urls with the given connections; -1 when a tile failed.
double TransportSeconds(const QStringList& urls, int connections, const QString& caFile) {
    TransportSettings settings;
    settings.caFile = caFile;
    CurlTransport transport(connections, settings);
    bool clean = true;
    QElapsedTimer timer;
    timer.start();
    transport.FetchAll(
        urls, [&](qsizetype, UrlFetch fetch) { clean &= fetch.result == UrlFetch::Result::Data; },
        [] { return true; });
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return clean ? seconds : -1;
}

void HttpsTilesFiftyMsAway(benchmark::State& state) {
    const HttpsFiftyMsAway https;
    CompareBesideParallelCurl(state, https, [&](int connections) {
        return TransportSeconds(https.urls, connections, https.front.CaFile());
    });
}
BENCHMARK(HttpsTilesFiftyMsAway)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
