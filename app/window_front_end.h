#pragma once
// The main window and its dialogs as the front end of a batch job.
#include "batch/job_front_end.h"

class TForm1;
class TForm2;
class TForm3;

class WindowFrontEnd : public JobFrontEnd {
public:
    WindowFrontEnd(TForm1& form1, TForm2& form2, TForm3& form3, DialUpService& dialUp,
                   DialReporter& reporter)
        : form1_(form1), form2_(form2), form3_(form3), dialUp_(dialUp), reporter_(reporter) {}

    void PumpEvents() override;
    void ShowErrorCounts() override;
    bool CancelRequested() override;
    void SleepMs(int ms) override;
    void ShowTile(int slot, const QImage& image) override;
    void SetStatus(const QString& text) override;
    void ShowMessage(const QString& caption, const QString& text) override;

    std::optional<ScheduleChoice> RunScheduleDialog() override;
    bool HangUpBoxChecked() override;
    DialUpService& DialUp() override { return dialUp_; }
    void SetBatchActive(bool on) override;
    void DisableWindow() override;
    void EnableWindow() override;
    void RestoreAndRaise() override;
    void FocusWindow() override;
    void ShowProgress() override;
    void HideProgress() override;
    void ClearCancel() override;
    void SetProgressMaximum(std::int64_t maximum) override;
    void SetProgressPosition(std::int64_t position) override;
    ViewLoadOutcome ShowView(const ViewUrls& urls) override;
    std::optional<QString> AskOutputFile() override;

private:
    TForm1& form1_;
    TForm2& form2_;
    TForm3& form3_;
    DialUpService& dialUp_;
    DialReporter& reporter_; // the status line and message boxes
    std::int64_t maximum_ = 100;
};
