// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/read_ahead.h"

#include "loader/tile_refresh.h"

#include <QFileInfo>
#include <map>
#include <memory>

UpcomingTiles AlongList(std::span<const TileRequest> tiles) {
    return [tiles, next = std::size_t{0}]() mutable -> std::optional<TileRequest> {
        if (next >= tiles.size())
            return std::nullopt;
        return tiles[next++];
    };
}

UrlsAhead UrlsToFetch(UpcomingTiles upcoming, WorkMode mode) {
    return PlanReadAhead(std::move(upcoming), mode, nullptr).urls;
}

ReadAheadPlan PlanReadAhead(UpcomingTiles upcoming, WorkMode mode, const RefreshRule* refresh) {
    if (!upcoming || mode == WorkMode::CacheOnly)
        return {};
    if (mode != WorkMode::CacheAndInternet)
        refresh = nullptr;
    if (refresh)
        refresh->found->clear(); // what an earlier walk left
    // The copies of the tiles due, from when the walk passes them until their transfer starts.
    auto due = std::make_shared<std::map<QString, HeldCopy>>();
    ReadAheadPlan plan;
    plan.urls = [upcoming = std::move(upcoming), mode, refresh, due]() -> std::optional<QString> {
        const std::optional<TileRequest> tile = upcoming();
        if (!tile)
            return std::nullopt;
        if (!tile->cacheFile)
            return QString();
        if (refresh) {
            // Each file is looked at once: the loader takes what was found here.
            const CachedLook look = LookAhead(*refresh, *tile->cacheFile);
            if (look.due)
                (*due)[tile->url] = *look.due;
            return look.cached && !look.due ? QString() : tile->url;
        }
        if (mode != WorkMode::InternetOnly && QFileInfo::exists(*tile->cacheFile))
            return QString();
        return tile->url;
    };
    if (refresh)
        plan.held = [due](const QString& url) -> std::optional<HeldCopy> {
            const auto found = due->find(url);
            if (found == due->end())
                return std::nullopt;
            const HeldCopy held = found->second;
            due->erase(found);
            return held;
        };
    return plan;
}

void StartReadAhead(HttpGet& http, UpcomingTiles upcoming, WorkMode mode,
                    const RefreshRule* refresh) {
    ReadAheadPlan plan = PlanReadAhead(std::move(upcoming), mode, refresh);
    http.SetHeldCopies(std::move(plan.held));
    http.ReadAheadAlong(std::move(plan.urls));
}

void EndReadAhead(HttpGet& http, const RefreshRule* refresh) {
    http.ReadAheadAlong(nullptr);
    http.SetHeldCopies(nullptr);
    if (refresh)
        refresh->found->clear();
}
