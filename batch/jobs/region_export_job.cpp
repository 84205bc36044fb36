// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_export_job.h"

#include "batch/jobs/job_run.h"
#include "batch/jobs/region_prefill_job.h"
#include "batch/outputs/region_export.h"
#include "tiles/region_cover.h"

#include <QFile>

namespace {

// The rectangles the file is laid out on, one per level written, coarsest first.
std::vector<TileBlock> CoverBlocks(const RegionLevels& region) {
    std::vector<TileBlock> blocks;
    for (int level = region.firstLevel; level <= region.lastLevel; ++level)
        if (const std::optional<TileBlock> cover = RegionCover(region.region, level))
            blocks.push_back(*cover);
    return blocks;
}

JobEnding Export(const RegionExportInputs& in, const RegionLevels& region, ExportFormat format,
                 std::vector<TileBlock> blocks, JobRun& run) {
    RegionExport out(in.output, format, blocks, in.attribution, in.quality, in.encoding);
    in.counters.ResetErrors();
    if (!run.Schedule(in.settings))
        return run.End(JobEnding::ScheduleCancelled);
    run.SetTotal(region.Count());
    run.Begin();
    bool written = out.Begin();
    std::int64_t absent = 0;
    const TileSource& source = run.Source();
    const WalkEnd walked =
        written ? WalkRegionTiles(region, run, in.settings.retry, in.counters,
                                  [&](const TileKey& key) {
                                      QFile file(source.Request(key).cacheFile.value_or(QString()));
                                      const QByteArray jpeg = file.open(QIODevice::ReadOnly)
                                                                  ? file.readAll()
                                                                  : QByteArray();
                                      if (jpeg.isEmpty())
                                          ++absent;
                                      else
                                          written = out.AddTile(key, jpeg);
                                      return written;
                                  })
                : WalkEnd::Finished;
    const bool hungUp = run.HangUpAsScheduled();
    if (const std::optional<JobEnding> stopped = EndStoppedWalk(walked, run, in.counters))
        return *stopped;
    in.counters.tilesMissing = absent;
    if (!written || !out.Finish())
        return run.End(JobEnding::Failed, out.ErrorText());
    return run.End(hungUp ? JobEnding::Done : JobEnding::Failed);
}

} // namespace

JobEnding RunRegionExport(const RegionExportInputs& inputs, const JobServices& services,
                          JobControls& controls, JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    const std::optional<ExportFormat> format = ExportFormatOf(inputs.output);
    if (!format)
        return run.End(JobEnding::Failed);
    RegionLevels region = inputs.region;
    if (*format == ExportFormat::Kmz) // its overlays have one level
        region.firstLevel = region.lastLevel;
    std::vector<TileBlock> blocks = CoverBlocks(region);
    if (const std::optional<QString> refusal = ExportRefusal(*format, blocks)) {
        run.HangUpBeforeScheduling(inputs.settings);
        return run.End(JobEnding::TooLarge, *refusal);
    }
    return Export(inputs, region, *format, std::move(blocks), run);
}
