#include "batch/prefill_job.h"

#include "batch/error_count_texts.h"
#include "batch/job_run.h"
#include "batch/progress_text.h"

namespace {

class PrefillRun {
public:
    PrefillRun(const PrefillInputs& inputs, JobRun& run) : in_(inputs), run_(run) {}

    JobEnding Run(const TileKey& anchor);

private:
    enum class Stop { None, Cancel, ErrorLimit };

    Stop VisitColumns(TileKey columnStart, std::int64_t blocksPerSide);
    void LoadBlock(const TileKey& northWest);

    const PrefillInputs& in_;
    JobRun& run_;
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    ViewLoadOutcome lastOutcome_ = ViewLoadOutcome::Completed;
};

JobEnding PrefillRun::Run(const TileKey& anchor) {
    in_.counters.ResetErrors();
    if (!run_.Schedule(in_.settings))
        return run_.End(JobEnding::ScheduleCancelled);
    const int levelsDown = in_.depth - anchor.level;
    total_ = PrefillTileCount(levelsDown);
    run_.SetTotal(total_);
    run_.Begin();

    TileKey columnStart = anchor;
    for (int i = 0; i < levelsDown; ++i)
        columnStart = columnStart.Children()[0];
    const Stop stop = VisitColumns(columnStart, std::int64_t{1} << levelsDown);
    const bool hungUp = run_.HangUpIfAsked();
    switch (stop) {
    case Stop::Cancel:
        return run_.End(JobEnding::Cancelled);
    case Stop::ErrorLimit:
        return run_.End(JobEnding::ErrorLimit, ErrorLimitMessage(in_.counters));
    case Stop::None:
        break;
    }
    // A cancel in the very last block cut it short without a check after it; the tiles it
    // left out must not pass for a finished job.
    if (lastOutcome_ == ViewLoadOutcome::Aborted && run_.Cancelled())
        return run_.End(JobEnding::Cancelled);
    return run_.End(hungUp ? JobEnding::Done : JobEnding::Failed);
}

PrefillRun::Stop PrefillRun::VisitColumns(TileKey columnStart, std::int64_t blocksPerSide) {
    for (std::int64_t column = 0; column < blocksPerSide; ++column) {
        TileKey block = columnStart;
        LoadBlock(block);
        for (std::int64_t row = 1; row < blocksPerSide; ++row) {
            run_.Progress(done_, FetchedStatusText(done_, total_));
            run_.Pump();
            if (run_.Cancelled())
                return Stop::Cancel;
            block = block.South().South();
            LoadBlock(block);
            if (ErrorLimitReached(in_.settings.retry, in_.counters))
                return Stop::ErrorLimit;
        }
        columnStart = columnStart.East().East();
    }
    return Stop::None;
}

void PrefillRun::LoadBlock(const TileKey& northWest) {
    lastOutcome_ = run_.LoadBlock(northWest.Block(), in_.settings.retry);
    done_ += 4;
    run_.Progress(done_);
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
    const QString letters = services.tiles.tiles->RequestFor(inputs.view[0]).quadPath;
    if (const std::optional<QString> reason = PrefillRefusal(int(letters.size()), inputs.depth))
        return run.End(JobEnding::Failed, *reason);
    // A view named by anything but quadrant letters has no region to walk.
    const std::optional<TileKey> anchor = TileKey::FromLetters(letters.toStdString());
    if (!anchor)
        return run.End(JobEnding::Failed);
    return PrefillRun(inputs, run).Run(*anchor);
}
