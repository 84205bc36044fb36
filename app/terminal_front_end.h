#pragma once
// A terminal as the front end of a batch job: no window, no dialogs. Progress goes to
// standard error, Ctrl+C is "Отмена", the scheduling dialog's choices come from the command
// line and the save dialog's answer is the output file given there.
#include "app/command_line.h"
#include "batch/job_front_end.h"
#include "batch/stop_signals.h"

#include <QElapsedTimer>
#include <cstdio>

class TerminalFrontEnd : public JobFrontEnd {
public:
    struct Setup {
        ViewSource source;
        BatchRetry retry;
        TileCounters& counters;
        DialUpService& dialUp;
        StopSignals& cancel;
        CommandSchedule schedule;
        QString password; // for dialling, from the environment
        std::optional<QString> output;
        std::FILE* stream = stderr;
        bool redraw = false; // a terminal: one line redrawn in place
        int minuteMs = 60000;
    };
    explicit TerminalFrontEnd(Setup setup);

    void PumpEvents() override;
    void ShowErrorCounts() override { Report(false); }
    bool CancelRequested() override { return setup_.cancel.Requested(); }
    void SleepMs(int ms) override;
    void ShowTile(int, const QImage&) override {}
    void SetStatus(const QString& text) override;
    void ShowMessage(const QString& caption, const QString& text) override;

    std::optional<ScheduleChoice> RunScheduleDialog() override;
    bool HangUpBoxChecked() override { return setup_.schedule.hangUp; }
    DialUpService& DialUp() override { return setup_.dialUp; }
    void SetBatchActive(bool on) override { batchActive_ = on; }
    void DisableWindow() override {}
    void EnableWindow() override {}
    void RestoreAndRaise() override {}
    void FocusWindow() override {}
    void ShowProgress() override;
    void HideProgress() override;
    void ClearCancel() override {}
    void SetProgressMaximum(std::int64_t maximum) override;
    void SetProgressPosition(std::int64_t position) override;
    ViewLoadOutcome ShowView(const ViewUrls& urls) override;
    std::optional<QString> AskOutputFile() override { return setup_.output; }

private:
    void Report(bool force);
    void PrintLine(const QString& text);
    void ClearProgressLine();

    Setup setup_;
    bool batchActive_ = false;
    bool progressShown_ = false;
    bool lineOpen_ = false; // a redrawn progress line waits for its end
    std::int64_t position_ = 0;
    std::int64_t maximum_ = 0;
    QElapsedTimer started_;
    QElapsedTimer lastReport_;
    TileBuffers tileBuffers_; // shared by every view the job loads
};
