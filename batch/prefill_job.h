#pragma once
// Filling the tile cache with every tile of the view's region at one deeper level: the view
// is walked over the region in 2 by 2 blocks, column by column from west to east and each
// column from north to south, and every block is loaded as the view.
#include "batch/batch_settings.h"
#include "batch/job_ending.h"
#include "batch/job_front_end.h"
#include "fetch/tile_counters.h"
#include "tiles/view_urls.h"

#include <QString>
#include <cstdint>
#include <optional>

struct PrefillInputs {
    ViewUrls view;    // the view when the job starts; shown again at every end
    int prefixLength; // characters of each reference before its quadrant letters
    int depth;        // the level whose tiles are fetched
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

// Runs the whole job through front. A depth that PrefillRefusal refuses shows its reason in
// a box titled "ошибки" and ends Failed before anything else happens. Every other end puts
// inputs.view back on show.
JobEnding RunPrefill(const PrefillInputs& inputs, JobFrontEnd& front);
