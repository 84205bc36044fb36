// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/tile_request.h"

#include "tiles/tile_ref.h"

TileRequest MakeTileRequest(const QString& cacheRoot, const QString& prefix,
                            const QString& quadPath) {
    TileRequest request{prefix + quadPath, quadPath, std::nullopt};
    if (IsQuadPath(request.quadPath))
        request.cacheFile = cacheRoot + request.quadPath + QStringLiteral(".jpg");
    return request;
}
