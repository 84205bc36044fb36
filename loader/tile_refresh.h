// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asking the server again about tiles already cached. A cached tile's age is its file's
// modification time: when it was fetched or last confirmed. A tile due is asked for only if
// changed; an unchanged one keeps its file (the same bytes, the same inode) with a new time,
// a changed one replaces it whole, and one the server could not answer for stays as it was:
// nothing cached is lost because the network is away.
#include "loader/tile_loader.h"
#include "net/http_get.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

struct RefreshRule {
    std::int64_t olderThanSeconds = 0; // 0: every cached tile is due
    // The clock that says how old a file is: seconds since 1970, UTC.
    std::function<std::int64_t()> now;
};

// Seconds in the days of --refresh-older-than.
inline constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// The copy held in cacheFile when the rule makes it due; nothing when it is younger, or when
// there is no such file.
std::optional<HeldCopy> DueCopy(const RefreshRule& rule, const QString& cacheFile);

// Asks for the tile again as held, and counts it as confirmed, replaced or kept stale in the
// context's counters. isTile says whether a reply is a whole tile; nothing that is not
// replaces the file.
void RefreshCachedTile(const TileRequest& tile, const HeldCopy& held, TileLoaderContext& context,
                       const std::function<bool(const QByteArray&)>& isTile);
