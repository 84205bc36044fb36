// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_prefill_job.h"

#include "batch/jobs/job_run.h"
#include "batch/jobs/progress_text.h"
#include "loader/tile_refresh.h"

namespace {

// Tiles skipped from the cache between two updates of the progress shown.
constexpr std::int64_t kSkipsBetweenUpdates = 1024;

// A cached tile is skipped unless the refresh rule finds it due: then it is loaded, and the
// loader asks the server whether it changed.
bool Skipped(const TileSource& source, WorkMode mode, const RefreshRule* refresh,
             const TileKey& key) {
    if (mode == WorkMode::InternetOnly)
        return false;
    if (!refresh)
        return CachedSize(source, key).has_value();
    const CachedLook look =
        LookAtCachedTile(*refresh, source.Request(key).cacheFile.value_or(QString()));
    return look.cached && !look.due;
}

// The requests the walk will make, in its order, for the connections that read ahead. Under
// a refresh rule every tile goes to the read-ahead, which looks at each cached one once.
UpcomingTiles RegionRequests(std::shared_ptr<const TileSource> source, WorkMode mode,
                             const RefreshRule* refresh, RegionTileWalk walk) {
    return
        [source = std::move(source), mode, refresh, walk]() mutable -> std::optional<TileRequest> {
            while (const std::optional<TileKey> key = walk.Next())
                if (refresh || !Skipped(*source, mode, nullptr, *key))
                    return source->Request(*key);
            return std::nullopt;
        };
}

JobEnding Prefill(const RegionPrefillInputs& in, JobRun& run) {
    in.counters.ResetErrors();
    if (!in.dryRun && !run.Schedule(in.settings))
        return run.End(JobEnding::ScheduleCancelled);
    run.SetTotal(in.region.Count());
    if (!in.dryRun)
        run.Begin();
    const RegionEstimate estimate = EstimateRegion(in.region, run, in.settings.retry, in.cacheRoot);
    if (in.estimate)
        *in.estimate = estimate;
    if (run.Cancelled()) {
        run.HangUpAsScheduled();
        return run.End(JobEnding::Cancelled);
    }
    if (in.dryRun)
        return run.End(JobEnding::Done);
    if (const std::optional<QString> refusal = EstimateRefusal(estimate)) {
        run.HangUpAsScheduled();
        return run.End(JobEnding::TooLarge, *refusal);
    }
    // The samples the estimate fetched are tiles the walk passes again: cached by then, or
    // asked for again when their fetch failed. The walk alone counts each tile, in hand or
    // missing, once; the errors the samples met still count towards the limits.
    in.counters.tilesObtained = 0;
    in.counters.tilesMissing = 0;
    const WalkEnd walked = WalkRegionTiles(in.region, run, in.settings.retry, in.counters);
    const bool hungUp = run.HangUpAsScheduled();
    if (const std::optional<JobEnding> stopped = EndStoppedWalk(walked, run, in.counters))
        return *stopped;
    return run.End(hungUp ? JobEnding::Done : JobEnding::Failed);
}

} // namespace

WalkEnd WalkRegionTiles(const RegionLevels& region, JobRun& run, const BatchRetry& retry,
                        const TileCounters& counters,
                        const std::function<bool(const TileKey&)>& visit) {
    const TileSource& source = run.Source();
    // One walk: the read-ahead goes along a copy of it.
    RegionTileWalk walk = region.Walk();
    run.ReadAhead(RegionRequests(run.SharedSource(), run.Mode(), run.Refresh(), walk));
    std::int64_t done = 0;
    while (const std::optional<TileKey> key = walk.Next()) {
        ++done;
        if (Skipped(source, run.Mode(), run.Refresh(), *key)) {
            run.SkipCachedTile();
            if (done % kSkipsBetweenUpdates == 0) {
                run.Progress(done, FetchedStatusText(done, run.Total()));
                run.Pump();
                if (run.Cancelled())
                    return WalkEnd::Cancelled;
            }
            if (visit && !visit(*key))
                return WalkEnd::Finished;
            continue;
        }
        run.Progress(done - 1, FetchedStatusText(done - 1, run.Total()));
        run.Pump();
        if (run.Cancelled())
            return WalkEnd::Cancelled;
        run.LoadTile(source.Request(*key), retry);
        if (visit && !visit(*key))
            return WalkEnd::Finished;
        if (ErrorLimitReached(retry, counters))
            return WalkEnd::ErrorLimit;
    }
    run.Progress(done, FetchedStatusText(done, run.Total()));
    return WalkEnd::Finished;
}

JobEnding RunRegionPrefill(const RegionPrefillInputs& inputs, const JobServices& services,
                           JobControls& controls, JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    return Prefill(inputs, run);
}
