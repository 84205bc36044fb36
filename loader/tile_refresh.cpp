// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_refresh.h"

#include "loader/tile_cache.h"
#include "loader/validator_index.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The file's time becomes now; its bytes and inode stay.
bool Renew(const QString& path) {
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0) == 0;
}

bool SameAsFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.size() == bytes.size() && file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

} // namespace

std::int64_t RefreshRule::Now() const {
    return now ? now() : QDateTime::currentSecsSinceEpoch();
}

CachedLook LookAtCachedTile(const RefreshRule& rule, const QString& cacheFile) {
    struct stat status {};
    if (::stat(QFile::encodeName(cacheFile).constData(), &status) != 0)
        return {};
    if (!S_ISREG(status.st_mode))
        return {.cached = true, .due = std::nullopt};
    const std::int64_t now = rule.Now();
    const std::optional<ReplyValidators> known =
        rule.index ? rule.index->Find(QFileInfo(cacheFile).fileName()) : std::nullopt;
    const bool expired = known && known->freshUntilSecs && *known->freshUntilSecs <= now;
    const bool old = rule.olderThanSeconds && now - status.st_mtime >= *rule.olderThanSeconds;
    if (!expired && !old)
        return {.cached = true, .due = std::nullopt};
    // The server's own time of the tile, when it gave one, matches its clock exactly.
    return {.cached = true,
            .due = HeldCopy{.modifiedSecs = known && known->lastModifiedSecs != 0
                                                ? known->lastModifiedSecs
                                                : status.st_mtime,
                            .etag = known ? known->etag : QByteArray()}};
}

CachedLook LookAhead(const RefreshRule& rule, const QString& cacheFile) {
    CachedLook look = LookAtCachedTile(rule, cacheFile);
    (*rule.found)[cacheFile] = look.due;
    return look;
}

std::optional<HeldCopy> DueCopy(const RefreshRule& rule, const QString& cacheFile) {
    const auto found = rule.found->find(cacheFile);
    if (found == rule.found->end())
        return LookAtCachedTile(rule, cacheFile).due;
    // Emplaced rather than moved whole: GCC's optimiser cannot follow a moved optional's
    // payload and warns of an uninitialised read.
    std::optional<HeldCopy> due;
    if (found->second)
        due.emplace(std::move(*found->second));
    rule.found->erase(found);
    return due;
}

void RememberValidators(const RefreshRule* rule, const QString& cacheFile,
                        const ReplyValidators& validators) {
    if (rule && rule->index)
        rule->index->Put(QFileInfo(cacheFile).fileName(), validators, rule->Now());
}

void RefreshCachedTile(const TileRequest& tile, const HeldCopy& held, TileLoaderContext& context,
                       const std::function<bool(const QByteArray&)>& isTile) {
    const QString& path = *tile.cacheFile;
    TileCounters& counters = context.counters;
    QByteArray body;
    const std::optional<HttpFailure> failure = context.http.GetIfChanged(tile.url, held, body);
    counters.dailyLimitReached |= failure && failure->statusCode == kDailyLimitReached;
    counters.bytesReceived += body.size();
    if (failure && failure->statusCode == kNotModified) {
        RememberValidators(context.refresh, path, context.http.LastValidators());
        ++(Renew(path) ? counters.tilesConfirmed : counters.tilesKeptStale);
    } else if (failure || !isTile(body)) {
        // Offline, a server error, a time-out or no tile at all: the old one stays.
        if (!context.hooks.CancelRequested())
            ++counters.tilesKeptStale;
    } else if (SameAsFile(path, body)) {
        // A server that cannot answer 304 sent the same tile again.
        RememberValidators(context.refresh, path, context.http.LastValidators());
        ++(Renew(path) ? counters.tilesConfirmed : counters.tilesKeptStale);
    } else if (StoreTileFile(path, body)) {
        RememberValidators(context.refresh, path, context.http.LastValidators());
        ++counters.tilesReplaced;
    } else {
        ++counters.writeErrors;
        ++counters.tilesKeptStale;
    }
    context.hooks.ShowErrorCounts();
}
