// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A terminal as the front end of a batch job: no window, no dialogs. Progress goes to
// standard error, Ctrl+C is "Отмена", the scheduling dialog's choices come from the command
// line and the save dialog's answer is the output file given there.
#include "app/command_line.h"
#include "batch/jobs/job_controls.h"
#include "batch/jobs/job_observer.h"
#include "os/stop_signals.h"

#include <QElapsedTimer>
#include <cstdio>

class TerminalFrontEnd final : public JobObserver, public JobControls {
public:
    struct Setup {
        StopSignals& cancel;
        CommandSchedule schedule;
        QString password; // for dialling, from the environment
        std::optional<QString> output;
        std::FILE* stream = stderr;
        bool redraw = false; // a terminal: one line redrawn in place
        int minuteMs = 60000;
    };
    explicit TerminalFrontEnd(Setup setup);

    void OnProgress(const JobProgress& progress) override;
    void OnMessage(const QString& caption, const QString& text) override;
    void OnEnded(JobEnding ending, const QString& message) override;

    bool CancelRequested() override { return setup_.cancel.Requested(); }
    std::optional<ScheduleChoice> AskSchedule() override;
    bool HangUpWanted() override { return setup_.schedule.hangUp; }
    std::optional<QString> AskOutputFile() override { return setup_.output; }

    // What the job said as it ended (why it failed), or empty.
    const QString& EndMessage() const { return endMessage_; }

private:
    void Report(bool force);
    void PrintLine(const QString& text);
    void ClearProgressLine();

    Setup setup_;
    bool progressShown_ = false;
    bool lineOpen_ = false; // a redrawn progress line waits for its end
    JobProgress progress_;
    QString endMessage_;
    QElapsedTimer started_;
    QElapsedTimer lastReport_;
};
