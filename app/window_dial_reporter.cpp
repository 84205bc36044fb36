// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_dial_reporter.h"

#include "app/dialog_in_front.h"
#include "app/tform3.h"

#include <QMessageBox>

WindowDialReporter::WindowDialReporter(TForm3& progress, QWidget* window)
    : progress_(progress), window_(window) {}

void WindowDialReporter::SetStatus(const QString& text) {
    progress_.Label1->setText(text);
    // A dial blocks at once; drawn now, the line is seen for as long as it lasts.
    if (progress_.isVisible())
        progress_.Label1->repaint();
}

void WindowDialReporter::ShowMessage(const QString& caption, const QString& text) {
    // During a job the box belongs to the progress dialog the user is watching.
    QWidget* owner = progress_.isVisible() ? &progress_ : window_;
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    ExecInFront(box);
}
