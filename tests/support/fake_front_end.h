// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A batch job's watcher and controls for tests: it answers as scripted and keeps what it was
// told. Services() gives the job a dial-up service, sleeps and event pumps that are recorded
// here too. Dials, hang-ups, messages and the ending go to `events` in the order they came.
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_observer.h"
#include "batch/jobs/job_services.h"
#include "tests/support/fake_dial_up.h"

#include <QImage>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class FakeFrontEnd : public JobObserver, public JobControls {
public:
    FakeFrontEnd();
    FakeFrontEnd(const FakeFrontEnd&) = delete; // the dial-up service logs into events
    FakeFrontEnd& operator=(const FakeFrontEnd&) = delete;

    // --- Script ---
    std::optional<ScheduleChoice> scheduleResult = ScheduleChoice{}; // nothing: cancelled
    std::optional<QString> outputFile;                               // nothing: declined
    bool hangUpWanted = false;
    bool cancel = false;
    int cancelAtPump = 0;                 // raises cancel during the N-th event pump (1-based)
    std::function<void(int tile)> onTile; // runs as the N-th tile is shown (1-based)
    FakeDialUp dialUp;                    // a good dial connects

    // The services of a job loading from tiles.
    JobServices Services(const ViewSource& tiles);

    // --- Record ---
    QStringList events; // "Dial ...", "HangUp ...", "Message caption: text", "Ended N message"
    std::vector<JobProgress> progress;
    QStringList statuses; // each status line as it changed
    int tilesShown = 0;
    int pumps = 0;
    std::vector<int> sleeps; // in milliseconds
    std::optional<JobEnding> ending;
    QString endMessage;

    void OnProgress(const JobProgress& p) override;
    void OnTile(int slot, const TilePixels& image) override;
    void OnMessage(const QString& caption, const QString& text) override;
    void OnEnded(JobEnding end, const QString& message) override;

    bool CancelRequested() override { return cancel; }
    std::optional<ScheduleChoice> AskSchedule() override;
    bool HangUpWanted() override { return hangUpWanted; }
    std::optional<QString> AskOutputFile() override;
};
