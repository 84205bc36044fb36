#include "app/window_front_end.h"

#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/tile_image.h"

#include <QCoreApplication>
#include <QThread>
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

void WindowFrontEnd::PumpEvents() {
    QCoreApplication::processEvents();
}

void WindowFrontEnd::ShowErrorCounts() {
    form3_.ShowErrorCounts(form1_.counters);
}

bool WindowFrontEnd::CancelRequested() {
    return form1_.Cancel() && form1_.Cancel()->Raised();
}

void WindowFrontEnd::SleepMs(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

void WindowFrontEnd::ShowTile(int slot, const QImage& image) {
    form1_.images.at(slot)->setPixmap(QPixmap::fromImage(image));
}

void WindowFrontEnd::SetStatus(const QString& text) {
    reporter_.SetStatus(text);
}

void WindowFrontEnd::ShowMessage(const QString& caption, const QString& text) {
    reporter_.ShowMessage(caption, text);
}

std::optional<ScheduleChoice> WindowFrontEnd::RunScheduleDialog() {
    return form2_.RunScheduleDialog();
}

bool WindowFrontEnd::HangUpBoxChecked() {
    return form2_.CheckBox1->isChecked();
}

void WindowFrontEnd::SetBatchActive(bool on) {
    form1_.batchActive = on;
}

void WindowFrontEnd::DisableWindow() {
    form1_.DisableWindow();
}

void WindowFrontEnd::EnableWindow() {
    form1_.EnableWindow();
}

void WindowFrontEnd::RestoreAndRaise() {
    form1_.setWindowState(form1_.windowState() & ~Qt::WindowMinimized);
    form1_.show();
    form1_.raise();
    form1_.activateWindow();
}

void WindowFrontEnd::FocusWindow() {
    // Enabling the window already gave the focus back to the control that had it.
    form1_.activateWindow();
}

void WindowFrontEnd::ShowProgress() {
    form3_.ShowOver(&form1_);
}

void WindowFrontEnd::HideProgress() {
    form3_.hide();
}

void WindowFrontEnd::ClearCancel() {
    if (form1_.Cancel())
        form1_.Cancel()->Clear();
}

void WindowFrontEnd::SetProgressMaximum(std::int64_t maximum) {
    maximum_ = maximum;
    form3_.ProgressBar1->setMaximum(static_cast<int>(maximum >> ScaleShift(maximum)));
}

void WindowFrontEnd::SetProgressPosition(std::int64_t position) {
    form3_.ProgressBar1->setValue(static_cast<int>(position >> ScaleShift(maximum_)));
}

ViewLoadOutcome WindowFrontEnd::ShowView(const ViewUrls& urls) {
    form1_.viewUrls = urls;
    return form1_.RefreshView();
}

std::optional<QString> WindowFrontEnd::AskOutputFile() {
    return form1_.AskStitchFile();
}
