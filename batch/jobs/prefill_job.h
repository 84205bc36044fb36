// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling the tile cache with every tile of the view's region at one deeper level: the region
// is walked in 2 by 2 blocks, column by column from west to east and each column from north
// to south, and every block is loaded with the batch retries and error limits.
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_ending.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "loader/tile_counters.h"
#include "tiles/view_urls.h"

#include <QString>
#include <cstdint>
#include <optional>

struct PrefillInputs {
    ViewUrls view; // the view when the job starts; its top-left tile anchors the region
    int depth;     // the level whose tiles are fetched
    BatchSettings settings;
    TileCounters& counters; // the error counts are reset at the start and read at the checks
};

// The deepest level a prefill goes to, and how far below the view: 12 levels are
// 4^13 = 67 million tiles, days of fetching even on loopback.
inline constexpr int kPrefillMaxDepth = 24;
inline constexpr int kPrefillMaxLevelsDown = 12;

// Why a prefill from a view at level to depth must not start, or nothing when it may.
std::optional<QString> PrefillRefusal(int level, int depth);

// The tiles of the view's region levelsDown levels deeper: 4 · 4^levelsDown (0 <= levelsDown
// <= 30).
std::int64_t PrefillTileCount(int levelsDown);

// Runs the whole job, loading each block through the services' tile source and showing its
// tiles to the observer. A depth that PrefillRefusal refuses ends Failed with its reason
// before anything else happens.
JobEnding RunPrefill(const PrefillInputs& inputs, const JobServices& services,
                     JobControls& controls, JobObserver& observer);
