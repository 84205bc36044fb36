// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/prefill_job.h"

#include "batch/jobs/job_run.h"
#include "batch/jobs/region_walk.h"

namespace {

JobEnding Prefill(const PrefillInputs& in, const TileKey& anchor, JobRun& run) {
    in.counters.ResetErrors();
    if (!run.Schedule(in.settings))
        return run.End(JobEnding::ScheduleCancelled);
    const int levelsDown = in.depth - anchor.level;
    run.SetTotal(PrefillTileCount(levelsDown));
    run.Begin();
    const RegionBlockWalk blocks(anchor, levelsDown);
    run.ReadAhead(RegionTiles(run.SharedSource(), blocks));
    const WalkEnd walked =
        WalkRegion(blocks, run, in.settings.retry, in.counters, [&](const TileKey& northWest) {
            return run.LoadBlock(northWest.Block(), in.settings.retry);
        });
    const bool hungUp = run.HangUpAsScheduled();
    if (const std::optional<JobEnding> stopped = EndStoppedWalk(walked, run, in.counters))
        return *stopped;
    return run.End(hungUp ? JobEnding::Done : JobEnding::Failed);
}

} // namespace

std::optional<QString> PrefillRefusal(int level, int depth) {
    if (depth <= level)
        return QCoreApplication::translate(
                   "PrefillJob",
                   "Закачка невозможна: глубина %1 должна быть больше текущего уровня %2.")
            .arg(depth)
            .arg(level);
    if (depth > kPrefillMaxDepth)
        return QCoreApplication::translate("PrefillJob",
                                           "Закачка невозможна: глубина %1 больше предельной (%2).")
            .arg(depth)
            .arg(kPrefillMaxDepth);
    if (depth - level > kPrefillMaxLevelsDown)
        return QCoreApplication::translate("PrefillJob",
                                           "Закачка невозможна: глубина %1 ниже текущего уровня %2 "
                                           "более чем на %3 уровней (%4 фрагментов).")
            .arg(depth)
            .arg(level)
            .arg(kPrefillMaxLevelsDown)
            .arg(PrefillTileCount(depth - level));
    return std::nullopt;
}

std::int64_t PrefillTileCount(int levelsDown) {
    return std::int64_t{4} << (2 * levelsDown);
}

JobEnding RunPrefill(const PrefillInputs& inputs, const JobServices& services,
                     JobControls& controls, JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    run.CopyTiles([](const TileRequest&, const QByteArray&) {}); // the cache keeps them
    const QString letters = services.tiles.tiles->Request(inputs.view[0]).quadPath;
    if (const std::optional<QString> reason = PrefillRefusal(int(letters.size()), inputs.depth))
        return run.End(JobEnding::Failed, *reason);
    // A view named by anything but quadrant letters has no region to walk.
    const std::optional<TileKey> anchor = TileKey::FromLetters(letters.toStdString());
    if (!anchor)
        return run.End(JobEnding::Failed);
    return Prefill(inputs, *anchor, run);
}
