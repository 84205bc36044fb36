#pragma once
// Stitching: a rectangle of tiles from the view's top-left tile to the east and south, drawn
// into one picture, saved as a progressive JPEG with a calibration file beside it.
#include "batch/batch_settings.h"
#include "batch/job_controls.h"
#include "batch/job_ending.h"
#include "batch/job_observer.h"
#include "batch/job_services.h"

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
};

// Runs the whole job, loading each tile through the services' tile source. The output file is
// asked once every tile is drawn; declining it is still Done.
JobEnding RunStitch(const StitchInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer);
