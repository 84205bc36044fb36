// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling the cache with every tile of a region of any shape over a range of levels, in the
// region's order (level by level from the coarsest, rows from the north, west to east). Tiles
// the cache holds are skipped in the modes that read it, so a cut-short run resumes where it
// stopped. The estimate comes first: a run refuses to start when it would not fit the free
// space of the cache's disk, and a dry run ends with it.
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_ending.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "batch/jobs/region_estimate.h"
#include "batch/jobs/region_walk.h"
#include "loader/tile_counters.h"
#include "tiles/region_tile_walk.h"

struct RegionPrefillInputs {
    RegionLevels region;
    QString cacheRoot; // whose disk's free space the estimate is held against
    BatchSettings settings;
    TileCounters& counters; // the error counts are reset at the start and read at the checks
    bool dryRun = false;    // estimate only: nothing but the samples is fetched
    RegionEstimate* estimate = nullptr; // filled in when given
};

JobEnding RunRegionPrefill(const RegionPrefillInputs& inputs, const JobServices& services,
                           JobControls& controls, JobObserver& observer);

// Loads every tile of the region through the run in the walk's order with the batch retries,
// skipping cached ones where the mode reads the cache; visit (when given) sees each tile once
// it is cached or given up. Before every tile the events are pumped and a cancel ends the walk;
// after each fetched tile a reached error limit ends it.
WalkEnd WalkRegionTiles(const RegionLevels& region, JobRun& run, const BatchRetry& retry,
                        const TileCounters& counters,
                        const std::function<bool(const TileKey&)>& visit = nullptr);
