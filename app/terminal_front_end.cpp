// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminal_front_end.h"

#include "app/progress_line.h"
#include "batch/jobs/error_count_texts.h"

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
}

void TerminalFrontEnd::OnProgress(const JobProgress& progress) {
    if (!progressShown_ && progress.phase == JobPhase::Starting) {
        progressShown_ = true;
        started_.restart();
        lastReport_.invalidate();
    }
    // The fetch count is the progress line's; the other states ("Подключение...") are news.
    if (progress.phase != JobPhase::Fetching && progress.status != progress_.status)
        PrintLine(progress.status);
    progress_ = progress;
    Report(false);
}

void TerminalFrontEnd::OnMessage(const QString& caption, const QString& text) {
    PrintLine(caption + QStringLiteral(": ") + text);
}

void TerminalFrontEnd::OnEnded(JobEnding, const QString& message) {
    if (progressShown_)
        Report(true);
    ClearProgressLine();
    progressShown_ = false;
    endMessage_ = message;
    if (!message.isEmpty())
        OnMessage(ErrorsCaption(), message);
}

std::optional<ScheduleChoice> TerminalFrontEnd::AskSchedule() {
    const CommandSchedule& s = setup_.schedule;
    for (int remaining = s.delayMinutes; remaining > 0; --remaining) {
        PrintLine(QCoreApplication::translate("Countdown", "До начала закачки осталось: %1ч %2мин")
                      .arg(remaining / 60)
                      .arg(remaining % 60));
        for (int waited = 0; waited < setup_.minuteMs; waited += kCancelPollMs) {
            if (setup_.cancel.Requested())
                return std::nullopt;
            QThread::msleep(kCancelPollMs);
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

void TerminalFrontEnd::Report(bool force) {
    if (!progressShown_)
        return;
    const qint64 interval = setup_.redraw ? kRedrawMs : kPlainLineMs;
    if (!force && lastReport_.isValid() && lastReport_.elapsed() < interval)
        return;
    lastReport_.restart();
    const QString line =
        ProgressLine(progress_.done, progress_.total,
                     static_cast<double>(started_.elapsed()) / 1000.0, progress_.counters);
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
