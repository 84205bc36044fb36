// SPDX-License-Identifier: GPL-3.0-or-later
// How long the work behind one view takes: loading tiles from the cache, decoding them,
// and the reference arithmetic of panning at the deepest level.
#include "image/jpeg_decode.h"
#include "loader/tile_loader.h"
#include "sources/tile_request.h"
#include "tests/support/jpeg_fixture.h"
#include "tiles/neighbours.h"
#include "tiles/tile_side.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class NoHooks : public LoaderHooks {
public:
    void PumpEvents() override {}
    void ShowErrorCounts() override {}
};

class NoNetwork : public HttpGet {
public:
    std::optional<HttpFailure> Get(const QString&, QByteArray&) override {
        return HttpFailure{0, {}, QStringLiteral("offline")};
    }
};

void DecodeTile(benchmark::State& state) {
    const QByteArray jpeg = MakeTestJpeg(kTileSide, kTileSide, QColor(30, 90, 160));
    TilePixels image;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeJpeg(jpeg, image));
}
BENCHMARK(DecodeTile);

void LoadTileFromCache(benchmark::State& state) {
    QTemporaryDir dir;
    const QString root = dir.path() + '/';
    QFile file(root + "qrst.jpg");
    file.open(QIODevice::WriteOnly);
    file.write(MakeTestJpeg(kTileSide, kTileSide, QColor(30, 90, 160)));
    file.close();
    NoHooks hooks;
    NoNetwork network;
    TileCounters counters;
    TileLoaderContext context{WorkMode::CacheOnly, network, counters, hooks};
    const TileRequest tile =
        MakeTileRequest(root, QStringLiteral("prefix:"), QStringLiteral("qrst"));
    TilePixels image;
    for (auto _ : state)
        benchmark::DoNotOptimize(TileLoader(tile, image, context));
}
BENCHMARK(LoadTileFromCache);

void PanAtLevelTwenty(benchmark::State& state) {
    QString letters(20, 'r');
    for (auto _ : state) {
        letters = EastNeighbour(letters);
        benchmark::DoNotOptimize(letters);
    }
}
BENCHMARK(PanAtLevelTwenty);

} // namespace
