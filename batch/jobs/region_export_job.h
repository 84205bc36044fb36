// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exporting a region of any shape: every tile it meets at each level the file takes (every
// level for MBTiles, the deepest alone for KMZ), taken from the cache or fetched as the
// region prefill fetches them, written into the file in the region's order. The file appears
// under its name only when the job is done.
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_ending.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "batch/outputs/tile_file_writer.h"
#include "loader/tile_counters.h"
#include "tiles/region_tile_walk.h"

#include <QString>

struct RegionExportInputs {
    RegionLevels region;
    QString output;      // its name says its format (see ExportFormatOf)
    QString attribution; // the imagery's source, named in the file where its format has room
    int quality;         // of a KMZ's pictures
    TileEncoding encoding = TileEncoding::Jpeg; // of the source's tiles, named in the file
    BatchSettings settings;
    // The error counts are reset at the start; at the end tilesMissing is the number of
    // tiles the file lacks.
    TileCounters& counters;
};

// An output of neither kind ends Failed, a KMZ of too many pictures TooLarge, before any
// tile is fetched.
JobEnding RunRegionExport(const RegionExportInputs& inputs, const JobServices& services,
                          JobControls& controls, JobObserver& observer);
