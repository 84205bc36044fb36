#include "batch/prefill_job.h"

#include "batch/progress_text.h"

#include "batch/error_count_texts.h"
#include "batch/job_steps.h"
#include "tiles/neighbours.h"
#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"

namespace {

// The next block of the column: every tile two tiles further south.
ViewUrls TwoSouth(const ViewUrls& block, int prefixLength) {
    ViewUrls moved;
    for (int slot = 0; slot < 4; ++slot)
        moved[slot] = SouthNeighbour(SouthNeighbour(block[slot], prefixLength), prefixLength);
    return moved;
}

class PrefillRun {
public:
    PrefillRun(const PrefillInputs& inputs, JobFrontEnd& front)
        : in_(inputs), front_(front), saved_(inputs.view) {}

    JobEnding Run();

private:
    enum class Stop { None, Cancel, ErrorLimit };

    Stop VisitColumns(QString columnStart, std::int64_t blocksPerSide);
    void ShowBlock(const ViewUrls& block);
    JobEnding EndCancelled();
    JobEnding EndOnErrorLimit();
    JobEnding EndNormally(bool started);

    const PrefillInputs& in_;
    JobFrontEnd& front_;
    const ViewUrls saved_;
    std::optional<ScheduleChoice> choice_; // set when the scheduling dialog was shown
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    ViewLoadOutcome lastOutcome_ = ViewLoadOutcome::Completed;
};

JobEnding PrefillRun::Run() {
    const int level = LevelOf(saved_[0], in_.prefixLength);
    front_.SetBatchActive(true);
    in_.counters.ResetErrors();
    if (in_.settings.scheduleDialog) {
        choice_ = front_.RunScheduleDialog();
        if (!choice_)
            return EndNormally(false);
    }
    BeginFetching(front_, choice_);

    const int levelsDown = in_.depth - level;
    total_ = PrefillTileCount(levelsDown);
    front_.SetProgressMaximum(total_);
    const QString columnStart = saved_[0] + QString(levelsDown, QLatin1Char('q'));
    switch (VisitColumns(columnStart, std::int64_t{1} << levelsDown)) {
    case Stop::Cancel:
        return EndCancelled();
    case Stop::ErrorLimit:
        return EndOnErrorLimit();
    case Stop::None:
        break;
    }
    // A cancel in the very last block cut it short without a check after it; the tiles it
    // left out must not pass for a finished job.
    if (lastOutcome_ == ViewLoadOutcome::Aborted && front_.CancelRequested())
        return EndCancelled();
    return EndNormally(true);
}

PrefillRun::Stop PrefillRun::VisitColumns(QString columnStart, std::int64_t blocksPerSide) {
    for (std::int64_t column = 0; column < blocksPerSide; ++column) {
        ViewUrls block = BlockFromAnchor(columnStart, in_.prefixLength);
        ShowBlock(block);
        for (std::int64_t row = 1; row < blocksPerSide; ++row) {
            front_.SetStatus(FetchedStatusText(done_, total_));
            front_.PumpEvents();
            if (front_.CancelRequested())
                return Stop::Cancel;
            block = TwoSouth(block, in_.prefixLength);
            ShowBlock(block);
            if (ErrorLimitReached(in_.settings.retry, in_.counters))
                return Stop::ErrorLimit;
        }
        columnStart = EastNeighbour(EastNeighbour(columnStart, in_.prefixLength), in_.prefixLength);
    }
    return Stop::None;
}

void PrefillRun::ShowBlock(const ViewUrls& block) {
    lastOutcome_ = front_.ShowView(block);
    done_ += 4;
    front_.SetProgressPosition(done_);
}

JobEnding PrefillRun::EndCancelled() {
    front_.HideProgress();
    front_.SetBatchActive(false);
    front_.EnableWindow();
    HangUpIfAsked(front_, choice_);
    front_.RestoreAndRaise();
    front_.ShowView(saved_);
    return JobEnding::Cancelled;
}

JobEnding PrefillRun::EndOnErrorLimit() {
    front_.HideProgress();
    front_.EnableWindow();
    front_.SetBatchActive(false);
    HangUpIfAsked(front_, choice_);
    front_.RestoreAndRaise();
    front_.ShowMessage(ErrorsCaption(), ErrorLimitMessage(in_.counters));
    front_.ShowView(saved_);
    return JobEnding::ErrorLimit;
}

// Also the end of a cancelled scheduling dialog, before anything was started.
JobEnding PrefillRun::EndNormally(bool started) {
    bool hungUp = true;
    if (started) {
        hungUp = HangUpIfAsked(front_, choice_);
        front_.HideProgress();
        front_.EnableWindow();
    }
    front_.SetBatchActive(false);
    front_.ShowView(saved_);
    front_.RestoreAndRaise();
    front_.FocusWindow();
    if (!started)
        return JobEnding::ScheduleCancelled;
    return hungUp ? JobEnding::Done : JobEnding::Failed;
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

JobEnding RunPrefill(const PrefillInputs& inputs, JobFrontEnd& front) {
    const int level = LevelOf(inputs.view[0], inputs.prefixLength);
    if (const std::optional<QString> reason = PrefillRefusal(level, inputs.depth)) {
        front.ShowMessage(ErrorsCaption(), *reason);
        return JobEnding::Failed;
    }
    return PrefillRun(inputs, front).Run();
}
