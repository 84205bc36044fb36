#pragma once
// Everything a batch job asks of whoever runs it: the main window with its dialogs, or a
// terminal. A job is written once against this and never knows which one it talks to.
#include "batch/dial_up.h"
#include "batch/schedule_choice.h"
#include "fetch/view_tiles.h"
#include "tiles/view_urls.h"

#include <QString>
#include <cstdint>
#include <optional>

// Inherited: PumpEvents, ShowErrorCounts, CancelRequested, SleepMs and ShowTile from the
// tile loop; SetStatus (the progress status line) and ShowMessage from dialling.
class JobFrontEnd : public ViewLoadHooks, public DialReporter {
public:
    // The scheduling dialog, shown modally: the choice when its countdown ran out, nothing
    // when the user cancelled it.
    virtual std::optional<ScheduleChoice> RunScheduleDialog() = 0;
    // The scheduling dialog's hang-up box, whether or not the dialog was shown this time.
    virtual bool HangUpBoxChecked() = 0;
    virtual DialUpService& DialUp() = 0;

    // The flag that switches the view refresh to retries and limit checks.
    virtual void SetBatchActive(bool on) = 0;
    // The main window: no input while a job runs; restored and brought to the front at the
    // end; given the keyboard focus.
    virtual void DisableWindow() = 0;
    virtual void EnableWindow() = 0;
    virtual void RestoreAndRaise() = 0;
    virtual void FocusWindow() = 0;

    // The progress dialog, shown without being modal.
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
    virtual void ClearCancel() = 0;
    virtual void SetProgressMaximum(std::int64_t maximum) = 0;
    virtual void SetProgressPosition(std::int64_t position) = 0;

    // Makes urls the view and refreshes it: while the batch flag is set through the batch
    // tile loop, whose outcome is returned; otherwise as any change of view does (a front
    // end that shows no view asks for nothing then and returns Completed).
    virtual ViewLoadOutcome ShowView(const ViewUrls& urls) = 0;

    // Where the stitched picture goes: a path, or nothing when the user declined.
    virtual std::optional<QString> AskOutputFile() = 0;
};
