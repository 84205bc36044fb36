// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps every batch job takes the same way: the scheduling choice, the start with its
// dial, progress, the tile loop with its retries and buffers, the hang-up and the ending. A
// job keeps one JobRun for its whole run and reports only through it.
#include "batch/dialup/dial_up.h"
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "loader/read_ahead.h"

#include <array>
#include <optional>

class JobRun final : private ViewLoadHooks, private DialReporter {
public:
    JobRun(const JobServices& services, JobControls& controls, JobObserver& observer,
           TileCounters& counters);
    // Reading ahead ends with the run.
    ~JobRun() override;
    JobRun(const JobRun&) = delete;
    JobRun& operator=(const JobRun&) = delete;

    // Asks for the scheduling choice when the settings want it; false when it was cancelled.
    bool Schedule(const BatchSettings& settings);
    // The progress shown at "начало..." and drawn once, then the connection dialled when the
    // scheduling choice asked for it.
    void Begin();

    void SetTotal(std::int64_t total) { progress_.total = total; }
    std::int64_t Total() const { return progress_.total; }
    std::int64_t Done() const { return progress_.done; }
    // The bar at done; the status line, when given, changes too.
    void Progress(std::int64_t done, const std::optional<QString>& status = std::nullopt);
    // What a job's loop does between tiles: takes the events, and asks whether the person
    // cancelled. The run answers for the services and controls it keeps, so that a job and
    // its walks are handed the run alone.
    bool Cancelled() { return controls_.CancelRequested(); }
    void Pump() { services_.pumpEvents(); }

    // The tiles will be loaded in the order of upcoming: a client of several connections reads
    // them ahead into memory, while the loading, its retries and its counts stay as they are.
    void ReadAhead(UpcomingTiles upcoming) {
        StartReadAhead(source_.http, std::move(upcoming), source_.mode, source_.refresh);
    }

    // For a job that only copies the tiles it loads: each tile's bytes go to sink, read
    // once, and unless the observer shows the tiles a cached one is not decoded.
    void CopyTiles(TileBytesSink sink);

    // The four tiles of a block with the batch retries, each shown as it comes.
    ViewLoadOutcome LoadBlock(const std::array<TileKey, 4>& block, const BatchRetry& retry);
    // One tile with the batch retries, a cancel cutting them short; a tile whose attempts all
    // failed is the "could not load" stand-in and counts as missing. The image is kept until
    // the next tile is loaded.
    const TilePixels& LoadTile(const TileRequest& tile, const BatchRetry& retry);
    // As LoadTile, but a JPEG tile of the rows' sides goes straight into rows, with nothing
    // left to draw: nullptr. Anything else (a stand-in, a PNG tile) comes back to be drawn,
    // over whatever a failed attempt left in the rows.
    const TilePixels* LoadTileInto(const TileRequest& tile, const BatchRetry& retry,
                                   const PixelRows& rows);
    // A tile passed over because the cache already holds it: counted as in hand.
    void SkipCachedTile() { ++counters_.tilesAlreadyCached; }

    // At the end of a job that was scheduled: every connection hung up when the scheduling
    // choice asked for it; false when one would not go down (a message has said so).
    bool HangUpAsScheduled();
    // For a job refused before its scheduling choice was asked for: every connection hung up
    // when the person wants it all the same.
    void HangUpBeforeScheduling(const BatchSettings& settings);
    // Tells the ending and returns it.
    JobEnding End(JobEnding ending, const QString& message = {});

    // The source the run loads from, and the work mode it loads in.
    const TileSource& Source() const { return *source_.tiles; }
    const std::shared_ptr<const TileSource>& SharedSource() const { return source_.tiles; }
    WorkMode Mode() const { return source_.mode; }
    // Which cached tiles are asked about again: only in the mode that reads the cache and
    // asks the network, and only when the run was given a rule.
    const RefreshRule* Refresh() const {
        return source_.mode == WorkMode::CacheAndInternet ? source_.refresh : nullptr;
    }

private:
    void PumpEvents() override { services_.pumpEvents(); }
    void ShowErrorCounts() override;
    bool CancelRequested() override { return controls_.CancelRequested(); }
    void SleepMs(int ms) override { services_.sleepMs(ms); }
    void ShowTile(int slot, const TilePixels& image) override { observer_.OnTile(slot, image); }
    void SetStatus(const QString& text) override;
    void ShowMessage(const QString& caption, const QString& text) override;
    bool HangUpAll();
    // Loads the tile into tile_ or, with buffers_.into set, its rows; true when it was had.
    bool Load(const TileRequest& tile, const BatchRetry& retry);

    const JobServices& services_;
    ViewSource source_; // the services' source with this run's buffers
    JobControls& controls_;
    JobObserver& observer_;
    TileCounters& counters_;
    std::optional<ScheduleChoice> choice_;
    JobProgress progress_;
    // Kept from tile to tile, so that no tile allocates its own file and pixel buffers.
    TileBuffers buffers_;
    TilePixels tile_;
    TileBytesSink copy_;
};
