// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_prefill_job.h"

#include "batch/jobs/job_run.h"
#include "batch/jobs/progress_text.h"

namespace {

// Tiles skipped from the cache between two updates of the progress shown.
constexpr std::int64_t kSkipsBetweenUpdates = 1024;

bool Skipped(const TileSource& source, WorkMode mode, const TileKey& key) {
    return mode != WorkMode::InternetOnly && CachedSize(source, key).has_value();
}

// The requests the walk will make, in its order, for the connections that read ahead.
UpcomingTiles RegionRequests(std::shared_ptr<const TileSource> source, WorkMode mode,
                             RegionTileWalk walk) {
    return [source = std::move(source), mode, walk]() mutable -> std::optional<TileRequest> {
        while (const std::optional<TileKey> key = walk.Next())
            if (!Skipped(*source, mode, *key))
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
    run.ReadAhead(RegionRequests(run.SharedSource(), run.Mode(), walk));
    std::int64_t done = 0;
    while (const std::optional<TileKey> key = walk.Next()) {
        ++done;
        if (Skipped(source, run.Mode(), *key)) {
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
