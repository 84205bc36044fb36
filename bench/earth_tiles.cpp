// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/earth_tiles.h"

#include "image/jpeg_decode.h"

#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/world_image.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>

QString EarthImagePath() {
    return QString::fromUtf8(tileserver::kDefaultWorldImagePath);
}

QByteArray EarthTileJpeg(const QString& quadPath) {
    std::string error;
    static const std::optional<tileserver::RgbImage> world =
        tileserver::LoadWorldImage(tileserver::kDefaultWorldImagePath, error);
    const auto tile = tileserver::ParseTileKey((QStringLiteral("t") + quadPath).toStdString());
    if (!world || !tile)
        return {};
    const std::vector<std::uint8_t> jpeg =
        tileserver::EncodeJpeg(tileserver::RenderMercatorTile(*world, *tile));
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
}

double ViewDecodeSeconds(const std::vector<QByteArray>& jpegs, int rounds) {
    JpegDecoder decoder(PixelFormat::Xrgb32);
    TilePixels image;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        for (const QByteArray& jpeg : jpegs)
            benchmark::DoNotOptimize(decoder.Decode(jpeg, image));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}
