// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tform3.h"

#include "app/dialog_in_front.h"
#include "batch/jobs/error_count_texts.h"

#include <QCloseEvent>

TForm3::TForm3(CancelFlag& cancel, QWidget* parent) : QDialog(parent), cancel_(cancel) {
    setWindowTitle(tr("Процесс"));
    setFixedSize(345, 166);
    QFont face = font();
    face.setPointSize(8);
    setFont(face);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(8, 16, 329, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto label = [this](int top) {
        auto* l = new QLabel(this);
        l->setGeometry(8, top, 329, 17);
        return l;
    };
    Label1 = label(48);
    Label2 = label(68);
    Label3 = label(88);
    Label4 = label(108);
    Button1 = new QPushButton(tr("Отмена"), this);
    Button1->setGeometry(260, 132, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm3::ShowErrorCounts(const TileCounters& counters) {
    const ErrorCountTexts t = ErrorCountLines(counters);
    Label2->setText(t.receive);
    Label3->setText(t.badFile);
    Label4->setText(t.write);
}

void TForm3::ShowOver(const QWidget* window) {
    if (window)
        move(window->geometry().center() - rect().center());
    show();
    // Shown again after the main window was raised at the end of a job, it would stay below.
    BringToFront(*this, window);
}

void TForm3::closeEvent(QCloseEvent* event) {
    event->accept(); // plain hide, without the dialog's reject()
}
