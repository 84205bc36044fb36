// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tform2.h"

#include "app/dialog_in_front.h"
#include "app/form_controls.h"
#include "batch/dialup/phone_book.h"
#include "store/settings.h"

#include <QShowEvent>

TForm2::TForm2(DialUpService& dialUp, DialReporter& reporter, QWidget* parent)
    : QDialog(parent), dialUp_(dialUp), reporter_(reporter) {
    BuildLayout();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TForm2::BuildLayout() {
    setWindowTitle(tr("Таймер"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont face = font();
    face.setPointSize(8);
    setFont(face);

    Label4 = MakeLabel(this, tr("Закачку начать через:"), 8, 12);
    UpDown1 =
        MakeUpDown(this, 146, 8, SettingsRange::DelayHours.min, SettingsRange::DelayHours.max, 0);
    Edit1 = UpDown1->findChild<QLineEdit*>();
    Label5 = MakeLabel(this, tr("часов"), 214, 12);
    UpDown2 = MakeUpDown(this, 256, 8, SettingsRange::DelayMinutes.min,
                         SettingsRange::DelayMinutes.max, 0);
    Edit2 = UpDown2->findChild<QLineEdit*>();
    Label6 = MakeLabel(this, tr("минут"), 324, 12);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(8, 38, 370, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Label1 = MakeLabel(this, QString(), 8, 60, 370);

    CheckBox3 = new QCheckBox(tr("Подключаться автоматически"), this);
    CheckBox3->move(8, 82);
    Label2 = MakeLabel(this, tr("Подключение:"), 8, 110);
    Cs = new QComboBox(this);
    Cs->setGeometry(120, 106, 258, 22);
    Cs->setEditable(true);
    Cs->setInsertPolicy(QComboBox::NoInsert); // typing never adds a phone-book entry
    Label3 = MakeLabel(this, tr("Имя пользователя:"), 8, 136);
    Edit7 = MakeEdit(this, QString(), 120, 132, 258);
    Edit7->setMaxLength(30);
    Label7 = MakeLabel(this, tr("Пароль:"), 8, 162);
    Edit10 = MakeEdit(this, QString(), 120, 158, 258);
    Edit10->setEchoMode(QLineEdit::Password);
    Edit10->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    CheckBox1 = new QCheckBox(tr("разорвать все оединения после окончания"), this);
    CheckBox1->move(8, 186);

    GroupBox1 = new QGroupBox(tr("Проверка"), this);
    GroupBox1->setGeometry(8, 208, 226, 58);
    Button3 = MakeButton(GroupBox1, tr("Подключится"), 8, 22, 102, 25);
    Button4 = MakeButton(GroupBox1, tr("Отключиться"), 116, 22, 102, 25);
    Button1 = MakeButton(this, QStringLiteral("Ok"), 242, 236, 64, 25);
    Button2 = MakeButton(this, tr("Отменить"), 314, 236, 64, 25);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kMinuteMs);
}

std::optional<ScheduleChoice> TForm2::RunScheduleDialog() {
    if (ExecInFront(*this) != QDialog::Accepted)
        return std::nullopt;
    return Choice();
}

ScheduleChoice TForm2::Choice() const {
    return {CheckBox3->isChecked(), Cs->currentText(), Edit7->text(), Edit10->text(),
            CheckBox1->isChecked()};
}

void TForm2::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) // not when the window system restores it from minimised
        FormShow();
    QDialog::showEvent(event);
}

void TForm2::done(int result) {
    Timer1->stop();
    QDialog::done(result);
}

void TForm2::SetInputsEnabled(bool on) {
    for (QWidget* input :
         std::initializer_list<QWidget*>{UpDown1, UpDown2, Edit1, Edit2, Button1, Cs, Edit7, Edit10,
                                         CheckBox3, CheckBox1, Button3, Button4})
        input->setEnabled(on);
}

void TForm2::FormShow() {
    SetInputsEnabled(true);
    ProgressBar1->setValue(0);
    Timer1->stop();
    countdown_ = Countdown();
    UpDown1->setValue(0);
    UpDown2->setValue(0);
    Label1->clear(); // no countdown of an earlier showing
    FillPhoneBook();
}

void TForm2::FillPhoneBook() {
    const QString chosen = Cs->currentText();
    Cs->clear();
    for (const QString& name : PhoneBookNames(dialUp_))
        Cs->addItem(name);
    if (Cs->count() == 0) {
        Cs->setEditText(tr("нет подключений"));
        return;
    }
    // The entry chosen earlier in this run stays chosen while the phone book still has it.
    const int kept = Cs->findText(chosen, Qt::MatchExactly);
    Cs->setCurrentIndex(kept >= 0 ? kept : 0);
}

void TForm2::Button1Click() {
    if (!countdown_.Start(UpDown1->value(), UpDown2->value())) {
        accept();
        return;
    }
    SetInputsEnabled(false);
    Timer1->start();
    ProgressBar1->setMaximum(countdown_.Maximum());
    Label1->setText(countdown_.Text());
}

void TForm2::Timer1Timer() {
    if (countdown_.Tick()) {
        Timer1->stop();
        accept();
        return;
    }
    Label1->setText(countdown_.Text());
    ProgressBar1->setValue(countdown_.Position());
}

void TForm2::Button3Click() {
    const bool selected = Cs->currentIndex() >= 0 && Cs->findText(Cs->currentText()) >= 0;
    if (selected)
        DialConnection(dialUp_, reporter_, Cs->currentText(), Edit7->text(), Edit10->text());
}

void TForm2::Button4Click() {
    HangUpAllConnections(dialUp_, reporter_);
}
