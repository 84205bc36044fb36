// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exporting a region: every tile of the region a prefill of the view to the same depth
// covers, at each level the file takes (see ExportBlocks), loaded as the prefill loads them
// (from the cache, fetched with the batch retries when missing) and written into an MBTiles
// or KMZ file. The file appears under its name only when the job is done; every other ending
// leaves nothing there.
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_ending.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "batch/outputs/tile_file_writer.h"
#include "loader/tile_counters.h"
#include "sources/source_definition.h"
#include "tiles/view_urls.h"

#include <QString>

struct ExportInputs {
    ViewUrls view;       // its top-left tile anchors the region
    int depth;           // the deepest level written
    QString output;      // its name says its format (see ExportFormatOf)
    QString attribution; // the imagery's source, named in the file where its format has room
    int quality;         // of a KMZ's pictures
    TileEncoding encoding = TileEncoding::Jpeg; // of the source's tiles, named in the file
    BatchSettings settings;
    // The error counts are reset at the start; at the end tilesMissing is the number of
    // tiles the file lacks.
    TileCounters& counters;
};

// Runs the whole job. A depth the prefill refuses, or an output of neither kind, ends Failed
// with its reason before anything else; a KMZ of too many pictures ends TooLarge, also before
// any tile is fetched.
JobEnding RunExport(const ExportInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer);

// The credit for the tiles of source: a template source's own attribution, else its title
// with the host its tiles come from (the request prefix's for the demo source), as
// "Демо-сервер (127.0.0.1)"; either alone when the other is missing.
QString AttributionOf(const SourceDefinition& source, const QString& requestPrefix);

// How source's tiles are encoded, as the files that name it say.
TileEncoding TileEncodingOf(const SourceDefinition& source);
