// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a running batch job tells whoever watches it: values only, so that a window, a terminal
// or a test draws them as it likes. Each method has an empty body: a watcher overrides what it
// shows.
#include "batch/jobs/job_ending.h"
#include "image/tile_pixels.h"
#include "loader/tile_counters.h"
#include "tiles/view_urls.h"

#include <QString>
#include <cstdint>

enum class JobPhase {
    Starting,  // the job has begun and shows its progress
    Dialling,  // the dial-up connection is being made
    Fetching,  // tiles are being fetched
    HangingUp, // the dial-up connections are being ended
};

struct JobProgress {
    std::int64_t done = 0;  // the progress bar's position
    std::int64_t total = 0; // and its maximum
    TileCounters counters;  // the three error counters and the tiles missing so far
    JobPhase phase = JobPhase::Starting;
    QString status; // the status line: "начало...", "Подключение...", "Закачано 4 фрагментов из 16"
};

class JobObserver {
public:
    virtual ~JobObserver() = default;
    // Whenever the position, the status line or an error counter changed.
    virtual void OnProgress(const JobProgress&) {}
    // A tile the job has loaded, in its block's slot (0 top-left, 1 top-right, 2 bottom-right,
    // 3 bottom-left).
    virtual void OnTile(int /*slot*/, const TilePixels& /*image*/) {}
    // Whether OnTile shows the tiles to someone: when nothing does, a job that only copies
    // tiles does not decode them.
    virtual bool ShowsTiles() const { return false; }
    // A whole block of the region loaded, as the view's four tile references: a window's
    // labels follow it as they follow the view.
    virtual void OnBlockShown(const ViewUrls& /*block*/) {}
    // Something a person must read before the job goes on (a failed dial, a file not written).
    virtual void OnMessage(const QString& /*caption*/, const QString& /*text*/) {}
    // The last call of a job; message, when not empty, is shown in a box titled "ошибки".
    virtual void OnEnded(JobEnding /*ending*/, const QString& /*message*/) {}
};
