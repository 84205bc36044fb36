// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a job tells the client about the tiles it will load next, so that a client of several
// connections can fetch them before they are asked for.
#include "net/http_get.h"
#include "sources/tile_request.h"
#include "tiles/work_mode.h"

#include <functional>
#include <optional>
#include <span>

struct RefreshRule;

// The tiles a job asks for, in its order, one per call; nothing once there are no more.
using UpcomingTiles = std::function<std::optional<TileRequest>()>;

// The tiles of a list the caller keeps while the walk lasts, in its order.
UpcomingTiles AlongList(std::span<const TileRequest> tiles);

// The URLs of upcoming for the client to read ahead, with the loader in mode: a tile the
// loader takes from the cache without asking, or never fetches, gives an empty URL. Nothing
// at all in cache-only mode.
UrlsAhead UrlsToFetch(UpcomingTiles upcoming, WorkMode mode);

// The same, where a cached tile that refresh makes due is read ahead too, asked for only if
// changed: held gives its copy, once, when its transfer starts.
struct ReadAheadPlan {
    UrlsAhead urls;
    HeldCopies held;
};
ReadAheadPlan PlanReadAhead(UpcomingTiles upcoming, WorkMode mode, const RefreshRule* refresh);

// Tells http the plan of upcoming.
void StartReadAhead(HttpGet& http, UpcomingTiles upcoming, WorkMode mode,
                    const RefreshRule* refresh);
// Ends the read-ahead: none of its transfers, held copies or findings is left over for a later
// walk.
void EndReadAhead(HttpGet& http, const RefreshRule* refresh);
