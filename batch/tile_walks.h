#pragma once
// The tiles the batch jobs load, in the order they load them, for a client that reads ahead.
#include "batch/stitch_plan.h"
#include "fetch/http_get.h"
#include "fetch/tile_source.h"
#include "tiles/view_urls.h"

#include <memory>

// The prefill of view's region at depth: blocks of 2 by 2 tiles, column by column from the
// west, each column from the north, the tiles of a block in view slot order.
UpcomingTiles PrefillWalk(std::shared_ptr<const TileSource> source, const ViewUrls& view,
                          int prefixLength, int depth);

// The tiles of a stitching plan, in its order.
UpcomingTiles StitchWalk(std::shared_ptr<const TileSource> source, StitchPlan plan);
