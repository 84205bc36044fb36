// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/https_fifty_ms.h"

#include "bench/curl_seconds.h"
#include "bench/earth_tiles.h"
#include "sources/url_template.h"

HttpsFiftyMsAway::HttpsFiftyMsAway()
    : server(EarthImagePath(), {"--delay-ms", "50"}, dir.file("server.log")),
      front(dir, server.Port()), urlTemplate(front.Url("/{z}/{x}/{y}.jpg")) {
    for (quint32 row = 0; row < 32; ++row)
        for (quint32 column = 0; column < 32; ++column)
            urls << ExpandUrlTemplate(urlTemplate, {}, 5, column, row);
}

void CompareBesideParallelCurl(benchmark::State& state, const HttpsFiftyMsAway& https,
                               const std::function<double(int connections)>& seconds) {
    if (https.server.Port() == 0 || https.front.Port() == 0) {
        state.SkipWithError(qPrintable("no HTTPS server: " + https.front.Problem()));
        return;
    }
    const auto curl = [&](int connections) {
        return CurlSeconds(https.urls, https.dir.path(),
                           {"--parallel", "--parallel-max", QString::number(connections),
                            "--cacert", https.front.CaFile()});
    };
    double four = 0, sixteen = 0, one = 0, curlFour = 0, curlSixteen = 0;
    for (auto _ : state) {
        // Interleaved, so that a neighbour's burst falls on both sides of a ratio alike.
        const double f = seconds(4);
        const double cf = curl(4);
        const double s = seconds(16);
        const double cs = curl(16);
        const double o = seconds(1);
        if (f < 0 || o < 0 || s < 0 || cf < 0 || cs < 0) {
            state.SkipWithError("a fetch failed");
            return;
        }
        state.SetIterationTime(f);
        four += f;
        sixteen += s;
        one += o;
        curlFour += cf;
        curlSixteen += cs;
    }
    const double tiles = static_cast<double>(https.urls.size() * state.iterations());
    state.counters["n4_tiles_per_s"] = tiles / four;
    state.counters["n16_tiles_per_s"] = tiles / sixteen;
    state.counters["n1_tiles_per_s"] = tiles / one;
    state.counters["curl_parallel4_tiles_per_s"] = tiles / curlFour;
    state.counters["curl_parallel16_tiles_per_s"] = tiles / curlSixteen;
    state.counters["n4_vs_curl4"] = curlFour / four;
    state.counters["n16_vs_curl16"] = curlSixteen / sixteen;
    state.counters["n4_vs_n1"] = one / four;
}
