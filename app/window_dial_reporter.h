// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where dialling reports in the window program: the progress dialog's status line, and a
// message box over the window the user is looking at.
#include "batch/dialup/dial_up.h"

class TForm3;
class QWidget;

class WindowDialReporter : public DialReporter {
public:
    // window: the main window, over which boxes appear while no job runs.
    WindowDialReporter(TForm3& progress, QWidget* window);

    // Written whether or not the progress dialog is shown.
    void SetStatus(const QString& text) override;
    // One OK button; returns when the user has closed it.
    void ShowMessage(const QString& caption, const QString& text) override;

private:
    TForm3& progress_;
    QWidget* window_;
};
