// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_front_end.h"

#include "app/job_dialogs.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/tile_image.h"
#include "app/tile_pixmap.h"
#include "batch/jobs/error_count_texts.h"

#include <climits>

namespace {

// The progress bar counts in int: a count beyond its range is shown halved as often as
// needed, so that the bar still runs from empty to full.
int ScaleShift(std::int64_t maximum) {
    int shift = 0;
    while ((maximum >> shift) > INT_MAX)
        ++shift;
    return shift;
}

} // namespace

WindowFrontEnd::WindowFrontEnd(TForm1& form1, JobDialogs& dialogs, TForm3& form3)
    : form1_(form1), dialogs_(dialogs), form3_(form3), reporter_(dialogs.Reporter()) {}

void WindowFrontEnd::OnProgress(const JobProgress& progress) {
    // Hanging up for a job refused before its start only says so on the status line.
    if (!started_ && progress.phase != JobPhase::Starting) {
        reporter_.SetStatus(progress.status);
        return;
    }
    const bool first = !started_;
    if (first) {
        started_ = true;
        form1_.DisableWindow();
    }
    if (progress.total != maximum_) {
        maximum_ = progress.total;
        form3_.ProgressBar1->setMaximum(static_cast<int>(maximum_ >> ScaleShift(maximum_)));
    }
    form3_.ProgressBar1->setValue(static_cast<int>(progress.done >> ScaleShift(maximum_)));
    if (progress.status != form3_.Label1->text())
        reporter_.SetStatus(progress.status);
    form3_.ShowErrorCounts(progress.counters);
    if (first) {
        form3_.ShowOver(&form1_);
        if (form1_.Cancel())
            form1_.Cancel()->Clear();
    }
}

void WindowFrontEnd::OnTile(int slot, const TilePixels& image) {
    drewTiles_ = true;
    form1_.images.at(slot)->setPixmap(TilePixmap(image));
}

void WindowFrontEnd::OnBlockShown(const ViewUrls& block) {
    if (!viewBefore_)
        viewBefore_ = form1_.viewUrls;
    form1_.ShowJobBlock(block);
}

void WindowFrontEnd::OnMessage(const QString& caption, const QString& text) {
    reporter_.ShowMessage(caption, text);
}

// Whichever job it was and however it ended: the window comes back in front and takes input,
// the ending's message is read, and the view shows its own tiles again when the job drew over
// them or finished its work.
void WindowFrontEnd::OnEnded(JobEnding ending, const QString& message) {
    if (started_) {
        HideProgressAndRestore();
        form1_.EnableWindow();
    }
    if (!message.isEmpty())
        reporter_.ShowMessage(ErrorsCaption(), message);
    if (viewBefore_)
        form1_.viewUrls = *viewBefore_;
    if (drewTiles_ || (started_ && (ending == JobEnding::Done || ending == JobEnding::Failed)))
        form1_.RefreshView();
    // Enabling the window already gave the focus back to the control that had it.
    if (started_)
        form1_.activateWindow();
}

bool WindowFrontEnd::CancelRequested() {
    return form1_.Cancel() && form1_.Cancel()->Raised();
}

std::optional<ScheduleChoice> WindowFrontEnd::AskSchedule() {
    return dialogs_.Schedule().RunScheduleDialog();
}

bool WindowFrontEnd::HangUpWanted() {
    return dialogs_.Schedule().CheckBox1->isChecked();
}

std::optional<QString> WindowFrontEnd::AskOutputFile() {
    HideProgressAndRestore();
    return form1_.AskStitchFile();
}

void WindowFrontEnd::HideProgressAndRestore() {
    form3_.hide();
    form1_.setWindowState(form1_.windowState() & ~Qt::WindowMinimized);
    form1_.show();
    form1_.raise();
    form1_.activateWindow();
}
