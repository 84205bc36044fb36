// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program prefilling 1,024 tiles (level 5 of the world) from a template source over
// HTTPS, nginx in front of the demo server delaying every reply by 50 ms as a distant network
// would: with 4 and 16 connections (reading ahead) and with 1, beside curl --parallel
// --parallel-max 4 and 16 fetching the same URLs in the same run.
#include "bench/child_figures.h"
#include "bench/https_fifty_ms.h"
#include "store/settings_schema.h"

#include <QDir>

namespace {

// Seconds of `orbivist prefill` of a cold cache down to level 5 from the source with that
// many connections; -1 when it failed.
double PrefillSeconds(const QString& home, int connections) {
    const QString source = QStringLiteral("n%1").arg(connections);
    QDir(home + "Cash/source-" + source).removeRecursively();
    const ChildFigures run = RunProgram({ORBIVIST_BUILD_DIR "/orbivist", "prefill", "--home", home,
                                         "--source", source, "--depth", "5"});
    return run.ok ? run.seconds : -1;
}

void PrefillOverHttpsFiftyMsAway(benchmark::State& state) {
    const HttpsFiftyMsAway https;
    TempDir home;
    // The design settings view the level-1 world, whose level-5 tiles are the 1,024 URLs.
    if (!SaveSettings(home.file("ORB.ini"), SettingsLinesOf(DesignSettings())) ||
        !QDir().mkpath(home.file("Cash"))) {
        state.SkipWithError("no program directory");
        return;
    }
    for (const int connections : {1, 4, 16})
        home.write("MySources.ini", home.read("MySources.ini") +
                                        QStringLiteral("[n%1]\nurl = %2\nconnections = "
                                                       "%1\nrate = 1000\nbulk-download = yes\n")
                                            .arg(connections)
                                            .arg(https.urlTemplate)
                                            .toUtf8());
    qputenv("ORBIVIST_CA_FILE", https.front.CaFile().toLocal8Bit());
    CompareBesideParallelCurl(
        state, https, [&](int connections) { return PrefillSeconds(home.path(), connections); });
}
BENCHMARK(PrefillOverHttpsFiftyMsAway)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
