// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/job_run.h"

#include "loader/tile_attempts.h"
#include "tiles/tile_ref.h"

JobRun::JobRun(const JobServices& services, JobControls& controls, JobObserver& observer,
               TileCounters& counters)
    : services_(services), source_(services.tiles), controls_(controls), observer_(observer),
      counters_(counters) {
    source_.buffers = &buffers_;
}

JobRun::~JobRun() {
    EndReadAhead(source_.http, source_.refresh);
}

bool JobRun::Schedule(const BatchSettings& settings) {
    if (!settings.scheduleDialog)
        return true;
    choice_ = controls_.AskSchedule();
    return choice_.has_value();
}

void JobRun::Begin() {
    progress_.phase = JobPhase::Starting;
    progress_.status = QCoreApplication::translate("JobSteps", "начало...");
    ShowErrorCounts();
    services_.pumpEvents();
    if (choice_ && choice_->dial) {
        progress_.phase = JobPhase::Dialling;
        DialConnection(services_.dialUp, *this, choice_->entry, choice_->user, choice_->password);
    }
    progress_.phase = JobPhase::Fetching;
}

void JobRun::Progress(std::int64_t done, const std::optional<QString>& status) {
    progress_.done = done;
    if (status)
        progress_.status = *status;
    ShowErrorCounts();
}

void JobRun::CopyTiles(TileBytesSink sink) {
    copy_ = std::move(sink);
    source_.copy = &copy_;
    source_.layoutOnly = !observer_.ShowsTiles();
}

ViewLoadOutcome JobRun::LoadBlock(const std::array<TileKey, 4>& block, const BatchRetry& retry) {
    std::array<TileRequest, 4> tiles;
    for (std::size_t slot = 0; slot < tiles.size(); ++slot)
        tiles[slot] = source_.tiles->Request(block[slot]);
    const ViewLoadOutcome outcome = LoadViewRequests(tiles, source_, retry, counters_, *this);
    if (outcome == ViewLoadOutcome::Completed) {
        ViewUrls shown;
        for (std::size_t slot = 0; slot < shown.size(); ++slot)
            shown[slot] = source_.tiles->RefOf(QuadPathOf(block[slot]));
        observer_.OnBlockShown(shown);
    }
    return outcome;
}

const TilePixels& JobRun::LoadTile(const TileRequest& tile, const BatchRetry& retry) {
    Load(tile, retry);
    return tile_;
}

const TilePixels* JobRun::LoadTileInto(const TileRequest& tile, const BatchRetry& retry,
                                       const PixelRows& rows) {
    buffers_.into = rows;
    const bool loaded = Load(tile, retry);
    buffers_.into = {};
    return loaded && buffers_.decodedInto ? nullptr : &tile_;
}

bool JobRun::Load(const TileRequest& tile, const BatchRetry& retry) {
    TileLoaderContext context{source_.mode, source_.http, counters_, *this, &buffers_};
    context.refresh = source_.refresh;
    const TileAttemptRules rules{.attempts = retry.attempts,
                                 .pauseSeconds = retry.pauseSeconds,
                                 .mayAttempt =
                                     [this](int attempt) {
                                         return attempt == 1 ||
                                                (!Cancelled() && !counters_.dailyLimitReached);
                                     },
                                 .shown = nullptr};
    const auto load = [&context](const TileRequest& request, TilePixels& loaded) {
        return TileLoader(request, loaded, context);
    };
    const bool loaded = AttemptTile(tile, tile_, rules, load, *this) == TileAttemptsEnd::Loaded;
    if (!loaded)
        ++counters_.tilesMissing;
    else
        ++counters_.tilesObtained;
    ShowErrorCounts(); // the count of tiles obtained includes this one
    return loaded;
}

bool JobRun::HangUpAsScheduled() {
    return !(choice_ && choice_->hangUp) || HangUpAll();
}

// The option to show the scheduling dialog stands for the hang-up where the settings say so.
void JobRun::HangUpBeforeScheduling(const BatchSettings& settings) {
    if ((settings.scheduleDialog && settings.scheduleOptionHangsUp) || controls_.HangUpWanted())
        HangUpAll();
}

bool JobRun::HangUpAll() {
    const JobPhase phase = progress_.phase;
    progress_.phase = JobPhase::HangingUp;
    const bool down = HangUpAllConnections(services_.dialUp, *this);
    progress_.phase = phase;
    return down;
}

JobEnding JobRun::End(JobEnding ending, const QString& message) {
    if (ending == JobEnding::ErrorLimit && counters_.dailyLimitReached) {
        observer_.OnEnded(JobEnding::DailyLimit, {});
        return JobEnding::DailyLimit;
    }
    observer_.OnEnded(ending, message);
    return ending;
}

void JobRun::ShowErrorCounts() {
    progress_.counters = counters_;
    observer_.OnProgress(progress_);
}

void JobRun::SetStatus(const QString& text) {
    progress_.status = text;
    ShowErrorCounts();
}

void JobRun::ShowMessage(const QString& caption, const QString& text) {
    observer_.OnMessage(caption, text);
}
