// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/earth_tiles.h"

#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/world_image.h"

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
