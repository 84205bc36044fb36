#include "app/terminal_front_end.h"

#include "app/progress_line.h"
#include "batch/progress_text.h"

#include <QCoreApplication>
#include <QThread>

namespace {

// A redrawn line keeps up with the work; plain lines (a log file) come now and then.
constexpr qint64 kRedrawMs = 200;
constexpr qint64 kPlainLineMs = 5000;
constexpr int kCancelPollMs = 100;

} // namespace

TerminalFrontEnd::TerminalFrontEnd(Setup setup) : setup_(std::move(setup)) {
    started_.start();
    setup_.source.buffers = &tileBuffers_;
}

void TerminalFrontEnd::PumpEvents() {
    QCoreApplication::processEvents();
}

void TerminalFrontEnd::SleepMs(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

void TerminalFrontEnd::SetStatus(const QString& text) {
    // The fetch count is the progress line's; other states ("Подключение...") are news.
    if (!IsFetchedStatusText(text))
        PrintLine(text);
}

void TerminalFrontEnd::ShowMessage(const QString& caption, const QString& text) {
    PrintLine(caption + QStringLiteral(": ") + text);
}

std::optional<ScheduleChoice> TerminalFrontEnd::RunScheduleDialog() {
    const CommandSchedule& s = setup_.schedule;
    for (int remaining = s.delayMinutes; remaining > 0; --remaining) {
        PrintLine(QCoreApplication::translate("Countdown", "До начала закачки осталось: %1ч %2мин")
                      .arg(remaining / 60)
                      .arg(remaining % 60));
        for (int waited = 0; waited < setup_.minuteMs; waited += kCancelPollMs) {
            if (setup_.cancel.Requested())
                return std::nullopt;
            SleepMs(kCancelPollMs);
        }
    }
    if (setup_.cancel.Requested())
        return std::nullopt;
    return ScheduleChoice{.dial = s.dialEntry.has_value(),
                          .entry = s.dialEntry.value_or(QString()),
                          .user = s.user,
                          .password = setup_.password,
                          .hangUp = s.hangUp};
}

void TerminalFrontEnd::ShowProgress() {
    progressShown_ = true;
    started_.restart();
    lastReport_.invalidate();
}

void TerminalFrontEnd::HideProgress() {
    if (progressShown_)
        Report(true);
    ClearProgressLine();
    progressShown_ = false;
}

void TerminalFrontEnd::SetProgressMaximum(std::int64_t maximum) {
    maximum_ = maximum;
}

void TerminalFrontEnd::SetProgressPosition(std::int64_t position) {
    position_ = position;
    Report(false);
}

ViewLoadOutcome TerminalFrontEnd::ShowView(const ViewUrls& urls) {
    // Headless, only a job's blocks are loaded; the view put back at its end is shown nowhere.
    if (!batchActive_)
        return ViewLoadOutcome::Completed;
    return LoadView(urls, setup_.source, setup_.retry, setup_.counters, *this);
}

void TerminalFrontEnd::Report(bool force) {
    if (!progressShown_)
        return;
    const qint64 interval = setup_.redraw ? kRedrawMs : kPlainLineMs;
    if (!force && lastReport_.isValid() && lastReport_.elapsed() < interval)
        return;
    lastReport_.restart();
    const QString line = ProgressLine(
        position_, maximum_, static_cast<double>(started_.elapsed()) / 1000.0, setup_.counters);
    if (setup_.redraw) {
        std::fprintf(setup_.stream, "\r%s\033[K", line.toUtf8().constData());
        lineOpen_ = true;
    } else {
        std::fprintf(setup_.stream, "%s\n", line.toUtf8().constData());
    }
    std::fflush(setup_.stream);
}

void TerminalFrontEnd::ClearProgressLine() {
    if (lineOpen_) {
        std::fputc('\n', setup_.stream);
        lineOpen_ = false;
    }
}

void TerminalFrontEnd::PrintLine(const QString& text) {
    ClearProgressLine();
    std::fprintf(setup_.stream, "%s\n", text.toUtf8().constData());
    std::fflush(setup_.stream);
}
