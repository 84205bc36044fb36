// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much a region of any shape will take before anything is fetched: per level, its tiles,
// how many the cache holds and how many would be fetched, and the bytes those would take,
// from the sizes of the level's cached tiles when there are enough of them, else from a few
// tiles fetched at random across the region (kept in the cache like any other).
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_run.h"
#include "tiles/region_tile_walk.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// Tiles whose sizes make a level's estimate: that many cached ones, else that many fetched.
inline constexpr int kEstimateSample = 8;

struct LevelEstimate {
    int level = 0;
    std::int64_t tiles = 0;
    std::int64_t cached = 0;
    std::int64_t toFetch = 0;
    double bytesPerTile = 0; // 0 when neither the cache nor a sample gave a size
};

struct RegionEstimate {
    std::vector<LevelEstimate> levels;
    std::int64_t tiles = 0;
    std::int64_t cached = 0;
    std::int64_t toFetch = 0;
    double bytes = 0;      // of the tiles to fetch
    double freeBytes = -1; // on the cache's disk; below 0 when unknown
};

// Whether the tile is in the cache, as the modes that read the cache would find it; its size
// in bytes when it is.
std::optional<std::int64_t> CachedSize(const TileSource& source, const TileKey& key);

// Walks every tile of the region once for the cache, then fetches the samples a level lacks
// through the run (with the batch retries) unless the mode never fetches. A level without
// any size takes the mean of the others.
RegionEstimate EstimateRegion(const RegionLevels& region, JobRun& run, const BatchRetry& retry,
                              const QString& cacheRoot);

// Why the estimate does not fit the free space of the cache's disk, in the user's words.
std::optional<QString> EstimateRefusal(const RegionEstimate& estimate);

// The lines a dry run prints: one per level, then the totals and the free space.
QStringList EstimateLines(const RegionEstimate& estimate);
