// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/job_dialogs.h"

JobDialogs::JobDialogs(CancelFlag& cancel, DialUpService& dialUp, QWidget* window,
                       QWidget* scheduleParent)
    : cancel_(cancel), dialUp_(dialUp), window_(window), scheduleParent_(scheduleParent) {}

JobDialogs::~JobDialogs() = default;

TForm3& JobDialogs::Progress() {
    if (!progress_)
        progress_ = std::make_unique<TForm3>(cancel_);
    return *progress_;
}

DialReporter& JobDialogs::Reporter() {
    if (!reporter_)
        reporter_ = std::make_unique<WindowDialReporter>(Progress(), window_);
    return *reporter_;
}

TForm2& JobDialogs::Schedule() {
    if (!schedule_) {
        DialReporter& reporter = Reporter();
        schedule_ = std::make_unique<TForm2>(dialUp_, reporter, scheduleParent_);
    }
    return *schedule_;
}
