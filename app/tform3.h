// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress dialog of the batch jobs: a bar, a status line, the three error
// counts and the only live control while a job runs, "Отмена".
#include "batch/jobs/cancel_flag.h"
#include "loader/tile_counters.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // "Отмена" only raises the job's flag.
    explicit TForm3(CancelFlag& cancel, QWidget* parent = nullptr);

    void ShowErrorCounts(const TileCounters& counters);
    // Shows the dialog without making it modal, centred over the given window.
    void ShowOver(const QWidget* window);

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    // Escape asks the job to stop, as "Отмена" does; it never just hides the dialog.
    void reject() override { Button1->click(); }
    // The close box only hides the dialog; the job runs on.
    void closeEvent(QCloseEvent* event) override;

private:
    void Button1Click() { cancel_.Raise(); }

    CancelFlag& cancel_;
};
