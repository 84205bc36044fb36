// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_from_cache.h"

#include "batch/jobs/stitch_plan.h"
#include "image/tile_decode.h"
#include "loader/tile_cache.h"
#include "tiles/tile_side.h"

#include <QFile>

namespace {

bool Usable(const QString& path, JpegDecoder& decoder) {
    QFile file(path);
    if (file.size() > kLargestTileFile || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return !IsPngData(bytes) && IsWholeTileLayout(bytes, kTileSide) && decoder.Starts(bytes);
}

} // namespace

bool StitchWhollyCached(const TileSource& source, const ViewUrls& view, int columns, int rows) {
    const StitchPlan plan = PlanStitch(source.Request(view[0]).quadPath, columns, rows);
    JpegDecoder decoder;
    for (const StitchTile& tile : plan.tiles) {
        const TileRequest request = source.Request(source.RefOf(tile.letters));
        if (!request.cacheFile || !Usable(*request.cacheFile, decoder))
            return false;
    }
    return !plan.tiles.isEmpty();
}
