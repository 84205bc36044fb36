// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/e2e/served_tiles.h"

#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/world_image.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

std::vector<ServedTile> ServedTiles(const DemoServerProcess& server) {
    static const QRegularExpression get(
        QStringLiteral("^#\\d+ GET /kh\\?v=5&n=404&t=(t[qrst]+)(?:\\s.*?)?(?: fault=(\\S+))?$"));
    std::vector<ServedTile> tiles;
    for (const QString& line : server.LogLines()) {
        const QRegularExpressionMatch match = get.match(line);
        if (match.hasMatch())
            tiles.push_back({match.captured(1).toStdString(), match.captured(2).toStdString()});
    }
    return tiles;
}

int InjectedCount(const std::vector<std::string>& faults, const char* kind) {
    return static_cast<int>(std::count(faults.begin(), faults.end(), kind));
}

TileCounters CountersForFaults(const std::vector<std::string>& faults) {
    TileCounters counters;
    counters.receiveErrors = InjectedCount(faults, "500") + InjectedCount(faults, "404") +
                             InjectedCount(faults, "empty") + InjectedCount(faults, "drop");
    counters.badFileErrors = InjectedCount(faults, "cut");
    return counters;
}

QByteArray CleanTile(const tileserver::RgbImage& world, const QString& quadPath) {
    const auto tile = tileserver::ParseTileKey("t" + quadPath.toStdString());
    const std::vector<std::uint8_t> jpeg =
        tileserver::EncodeJpeg(tileserver::RenderMercatorTile(world, tile.value()));
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
}

void ExpectOnlyCleanTilesIn(const TempDir& cache, const QString& worldPath) {
    std::string error;
    const std::optional<tileserver::RgbImage> world =
        tileserver::LoadWorldImage(worldPath.toStdString(), error);
    ASSERT_TRUE(world) << error;
    for (const QString& file : QDir(cache.path()).entryList(QDir::Files)) {
        ASSERT_TRUE(file.endsWith(QStringLiteral(".jpg"))) << file.toStdString();
        EXPECT_EQ(cache.read(file), CleanTile(*world, file.chopped(4))) << file.toStdString();
    }
}
