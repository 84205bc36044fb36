// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/read_ahead.h"

#include <QFileInfo>

UrlsAhead UrlsToFetch(UpcomingTiles upcoming, WorkMode mode) {
    if (!upcoming || mode == WorkMode::CacheOnly)
        return nullptr;
    return [upcoming = std::move(upcoming), mode]() -> std::optional<QString> {
        const std::optional<TileRequest> tile = upcoming();
        if (!tile)
            return std::nullopt;
        if (!tile->cacheFile ||
            (mode != WorkMode::InternetOnly && QFileInfo::exists(*tile->cacheFile)))
            return QString();
        return tile->url;
    };
}
