// SPDX-License-Identifier: GPL-3.0-or-later
// Refreshing 1,024 cached tiles of which 10 changed, from nginx serving them as files 50 ms
// away, with 4 connections: every tile asked for only if changed, beside fetching them all
// again. Time and bytes received of each.
#include "net/curl_transport.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tls_front.h"
#include "tests/support/jpeg_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 32; // level 5: 32 by 32 tiles
constexpr int kChanged = 10;

void WriteTile(const TempDir& dir, int x, int y, QColor colour) {
    const QString path = dir.file(QStringLiteral("static/5/%1/%2.jpg").arg(x).arg(y));
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(MakeTestJpeg(256, 256, colour));
}

struct Run {
    double seconds = -1;
    qint64 bytes = 0;
};

// Fetches urls with 4 connections, each asked for only if changed since heldSince when given.
Run Fetch(const QStringList& urls, const QString& caFile, std::optional<qint64> heldSince) {
    TransportSettings settings;
    settings.caFile = caFile;
    CurlTransport transport(4, settings);
    Run run;
    bool clean = true;
    QElapsedTimer timer;
    timer.start();
    transport.FetchAll(
        urls,
        [&](qsizetype, UrlFetch fetch) {
            run.bytes += fetch.bytesReceived;
            clean &= fetch.result == UrlFetch::Result::Data || fetch.statusCode == kNotModified;
        },
        [] { return true; },
        [&](qsizetype) {
            return heldSince ? std::optional<HeldCopy>(HeldCopy{*heldSince, {}}) : std::nullopt;
        });
    if (clean)
        run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return run;
}

void RefreshBesideFullDownload(benchmark::State& state) {
    TempDir dir;
    DemoServerProcess server(WriteQuadrantWorld(dir), {}, dir.file("server.log"));
    TlsFront front(dir, server.Port());
    if (front.Port() == 0) {
        state.SkipWithError(qPrintable("no HTTPS server: " + front.Problem()));
        return;
    }
    QStringList urls;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            WriteTile(dir, x, y, QColor::fromHsv((x * 11 + y * 7) % 360, 180, 200));
            urls << front.Url(QStringLiteral("/slow/5/%1/%2.jpg").arg(x).arg(y));
        }
    const qint64 cachedAt = QDateTime::currentSecsSinceEpoch() + 1;
    for (auto _ : state) {
        const Run full = Fetch(urls, front.CaFile(), std::nullopt);
        for (int i = 0; i < kChanged; ++i) {
            WriteTile(dir, i * 3, i, Qt::black);
            QFile changed(dir.file(QStringLiteral("static/5/%1/%2.jpg").arg(i * 3).arg(i)));
            changed.open(QIODevice::ReadWrite);
            changed.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60),
                                QFileDevice::FileModificationTime);
        }
        const Run refresh = Fetch(urls, front.CaFile(), cachedAt);
        if (full.seconds < 0 || refresh.seconds < 0) {
            state.SkipWithError("a fetch failed (is nginx's echo module installed?)");
            return;
        }
        state.SetIterationTime(refresh.seconds);
        state.counters["full_s"] = full.seconds;
        state.counters["refresh_s"] = refresh.seconds;
        state.counters["full_bytes"] = static_cast<double>(full.bytes);
        state.counters["refresh_bytes"] = static_cast<double>(refresh.bytes);
        state.counters["time_ratio"] = refresh.seconds / full.seconds;
        state.counters["bytes_ratio"] =
            static_cast<double>(refresh.bytes) / static_cast<double>(full.bytes);
    }
}
BENCHMARK(RefreshBesideFullDownload)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
