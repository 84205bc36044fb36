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
#include <map>
#include <memory>
#include <optional>

class ValidatorIndex;

// What the read-ahead found of the cached tiles it passed, by cache file: the copy of each one
// due, nothing for one that is not, so that the loader does not look at the file again.
using DueFound = std::map<QString, std::optional<HeldCopy>>;

struct RefreshRule {
    // Cached tiles at least this old are due (0: all of them); without it only those past the
    // expiry their server gave.
    std::optional<std::int64_t> olderThanSeconds;
    // The clock that says how old a file is: seconds since 1970, UTC; the system's without it.
    std::function<std::int64_t()> now;
    // What the server said of the source's tiles, kept as they come; none for the demo source.
    ValidatorIndex* index = nullptr;
    // Filled along the read-ahead's walk, emptied as the loader takes the tiles.
    std::shared_ptr<DueFound> found = std::make_shared<DueFound>();

    std::int64_t Now() const;
};

// Seconds in the days of --refresh-older-than.
inline constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// One look at cacheFile: whether the cache has it, and its copy when the rule makes it due.
struct CachedLook {
    bool cached = false;
    std::optional<HeldCopy> due;
};
CachedLook LookAtCachedTile(const RefreshRule& rule, const QString& cacheFile);

// The same look, for the read-ahead: what it found is kept for the loader.
CachedLook LookAhead(const RefreshRule& rule, const QString& cacheFile);

// The copy held in cacheFile when the rule makes it due, as the read-ahead found it, else as
// the file is now; nothing when it is younger, or when there is no such file.
std::optional<HeldCopy> DueCopy(const RefreshRule& rule, const QString& cacheFile);

// Keeps what the server said of the tile of cacheFile, when the rule has an index.
void RememberValidators(const RefreshRule* rule, const QString& cacheFile,
                        const ReplyValidators& validators);

// Asks for the tile again as held, and counts it as confirmed, replaced or kept stale in the
// context's counters. isTile says whether a reply is a whole tile; nothing that is not
// replaces the file.
void RefreshCachedTile(const TileRequest& tile, const HeldCopy& held, TileLoaderContext& context,
                       const std::function<bool(const QByteArray&)>& isTile);
