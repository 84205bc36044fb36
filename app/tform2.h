// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scheduling dialog a batch job shows first: a wait counted down in whole minutes,
// whether to dial before the job and with what, whether to hang up after it, and two
// buttons that dial and hang up by hand. Created hidden at start-up; what the user chose
// lasts for the run and is never written to a file.
#include "batch/dialup/dial_up.h"
#include "batch/jobs/countdown.h"
#include "batch/jobs/schedule_choice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <optional>

class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 386;
    static constexpr int kClientHeight = 272;
    static constexpr int kMinuteMs = 60000; // Timer1's period; tests shorten it

    TForm2(DialUpService& dialUp, DialReporter& reporter, QWidget* parent = nullptr);

    // Shown modally before a job: the choice once the wait has run out, nothing when the
    // user cancelled.
    std::optional<ScheduleChoice> RunScheduleDialog();
    ScheduleChoice Choice() const;

    QLabel* Label4 = nullptr;
    QSpinBox* UpDown1 = nullptr; // hours
    QLineEdit* Edit1 = nullptr;  // UpDown1's field
    QLabel* Label5 = nullptr;
    QSpinBox* UpDown2 = nullptr; // minutes
    QLineEdit* Edit2 = nullptr;  // UpDown2's field
    QLabel* Label6 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr; // the countdown
    QCheckBox* CheckBox3 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Cs = nullptr; // the phone book
    QLabel* Label3 = nullptr;
    QLineEdit* Edit7 = nullptr; // user name
    QLabel* Label7 = nullptr;
    QLineEdit* Edit10 = nullptr; // password
    QCheckBox* CheckBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QTimer* Timer1 = nullptr;

    // Handlers, public so tests can call them as the toolkit would.
    void FormShow();
    void Button1Click();
    void Timer1Timer();
    void Button3Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Every way out stops the countdown, so a hidden dialog never ticks.
    void done(int result) override;

private:
    void BuildLayout();
    void SetInputsEnabled(bool on);
    void FillPhoneBook();

    DialUpService& dialUp_;
    DialReporter& reporter_;
    Countdown countdown_;
};
