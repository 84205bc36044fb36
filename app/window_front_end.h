// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window and its dialogs as the front end of a batch job: the progress dialog shows
// the job's progress, the view its tiles, and the window's own steps at the end of a job are
// taken here, once, whichever job it was.
#include "batch/dialup/dial_up.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_observer.h"

#include <optional>

class TForm1;
class JobDialogs;
class TForm3;

class WindowFrontEnd final : public JobObserver, public JobControls {
public:
    // The schedule dialog comes from dialogs when a job first asks for it: most jobs never do.
    // The dialling reports go where the dialogs' reporter puts them.
    WindowFrontEnd(TForm1& form1, JobDialogs& dialogs, TForm3& form3);

    void OnProgress(const JobProgress& progress) override;
    void OnTile(int slot, const TilePixels& image) override;
    bool ShowsTiles() const override { return true; }
    void OnBlockShown(const ViewUrls& block) override;
    void OnMessage(const QString& caption, const QString& text) override;
    void OnEnded(JobEnding ending, const QString& message) override;

    bool CancelRequested() override;
    std::optional<ScheduleChoice> AskSchedule() override;
    bool HangUpWanted() override;
    // The progress dialog is gone and the window in front before the save dialog appears.
    std::optional<QString> AskOutputFile() override;

private:
    void HideProgressAndRestore();

    TForm1& form1_;
    JobDialogs& dialogs_;
    TForm3& form3_;
    DialReporter& reporter_; // the status line and message boxes
    bool started_ = false;   // the window is disabled and the progress dialog was shown
    bool drewTiles_ = false; // the view shows the job's tiles, not its own
    std::int64_t maximum_ = -1;
    std::optional<ViewUrls> viewBefore_; // the window's own view while a job's blocks show
};
