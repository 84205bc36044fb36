// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stitching: a rectangle of tiles from the view's top-left tile to the east and south, drawn
// into one picture, saved as a progressive JPEG with its calibration and world files beside
// it, or as a GeoTIFF (see StitchOutput).
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_ending.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"

#include <QStringList>
#include <cstdint>
#include <optional>

struct StitchInputs {
    ViewUrls view; // the view; its top-left tile is the rectangle's north-west corner
    TileCounters& counters;
    BatchSettings settings;
    int columns = 2; // tiles from west to east
    int rows = 2;    // tiles from north to south
    int quality = 100;
    QStringList calibrationTemplate;
    // What the system can still give the picture; the job refuses a picture that would not
    // fit rather than be killed for it half-way.
    // Nothing when it is not known: then only the picture's sides are checked.
    std::optional<std::uint64_t> availableMemory;
    // The picture's name when it is known before the first tile (the command line). A
    // GeoTIFF is then streamed into it a row of tiles at a time, from north to south and
    // each row west to east, so that neither its size nor its memory is bounded by a
    // picture held whole; any other name is asked for at the end as usual.
    std::optional<QString> output;
};

// Runs the whole job, loading each tile through the services' tile source. The output file is
// asked once every tile is drawn; declining it is still Done.
JobEnding RunStitch(const StitchInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer);
