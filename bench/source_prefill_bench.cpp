// The whole program prefilling 1,024 tiles (level 5 of the world) from a template source over
// HTTPS, nginx in front of the demo server delaying every reply by 50 ms as a distant network
// would: with 4 connections (reading ahead) and with 1, beside curl --parallel --parallel-max 4
// fetching the same URLs in the same run.
#include "bench/child_figures.h"
#include "bench/curl_seconds.h"
#include "bench/earth_tiles.h"
#include "fetch/url_template.h"
#include "store/settings_schema.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tls_front.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

// Seconds of `orbivist prefill` down to level 5 from source; -1 when it failed.
double PrefillSeconds(const QString& home, const QString& source) {
    const ChildFigures run = RunProgram({ORBIVIST_BUILD_DIR "/orbivist", "prefill", "--home", home,
                                         "--source", source, "--depth", "5"});
    return run.ok ? run.seconds : -1;
}

void PrefillOverHttpsFiftyMsAway(benchmark::State& state) {
    TempDir dir, home;
    DemoServerProcess server(EarthImagePath(), {"--delay-ms", "50"}, dir.file("server.log"));
    TlsFront front(dir, server.Port());
    if (server.Port() == 0 || front.Port() == 0) {
        state.SkipWithError(qPrintable("no HTTPS server: " + front.Problem()));
        return;
    }
    const QString url = front.Url("/{z}/{x}/{y}.jpg");
    if (!SaveSettings(home.file("ORB.ini"), SettingsLinesOf(DesignSettings())) ||
        !QDir().mkpath(home.file("Cash"))) {
        state.SkipWithError("no program directory");
        return;
    }
    home.write("MySources.ini", QStringLiteral("[four]\nurl = %1\nconnections = 4\n"
                                               "bulk-download = yes\n\n[one]\nurl = %1\n"
                                               "bulk-download = yes\n")
                                    .arg(url)
                                    .toUtf8());
    qputenv("ORBIVIST_CA_FILE", front.CaFile().toLocal8Bit());
    QStringList urls;
    for (quint32 row = 0; row < 32; ++row)
        for (quint32 column = 0; column < 32; ++column)
            urls << ExpandUrlTemplate(url, {}, 5, column, row);
    double four = 0, one = 0, curl = 0;
    for (auto _ : state) {
        for (const char* folder : {"Cash/source-four", "Cash/source-one"})
            QDir(home.file(folder)).removeRecursively(); // a cold cache each time
        const double f = PrefillSeconds(home.path(), "four");
        const double o = PrefillSeconds(home.path(), "one");
        const double c = CurlSeconds(
            urls, dir.path(), {"--parallel", "--parallel-max", "4", "--cacert", front.CaFile()});
        if (f < 0 || o < 0 || c < 0) {
            state.SkipWithError("a prefill or curl failed");
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
BENCHMARK(PrefillOverHttpsFiftyMsAway)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
