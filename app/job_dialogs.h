// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows a job runs with: the progress dialog, with its "Отмена", and the schedule and
// dial-up dialog. They are built when a job first needs them, not with the main window: most
// sessions only view, and a start that builds two dialogs nobody sees is a slower start.
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_dial_reporter.h"

#include <memory>

class JobDialogs {
public:
    // window: the main window, over which dialling reports; scheduleParent: the schedule
    // dialog's parent (the main window, or none for a dialog of its own).
    JobDialogs(CancelFlag& cancel, DialUpService& dialUp, QWidget* window, QWidget* scheduleParent);
    ~JobDialogs();
    JobDialogs(const JobDialogs&) = delete;
    JobDialogs& operator=(const JobDialogs&) = delete;

    TForm3& Progress();
    // The progress dialog if a job has needed it; nothing to update or raise otherwise.
    TForm3* ProgressIfBuilt() const { return progress_.get(); }
    // Dialling reports in the progress dialog's status line.
    DialReporter& Reporter();
    TForm2& Schedule();

private:
    CancelFlag& cancel_;
    DialUpService& dialUp_;
    QWidget* window_;
    QWidget* scheduleParent_;
    // Declared in the order they depend on each other, so that they go in the reverse.
    std::unique_ptr<TForm3> progress_;
    std::unique_ptr<WindowDialReporter> reporter_;
    std::unique_ptr<TForm2> schedule_;
};
