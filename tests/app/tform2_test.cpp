// SPDX-License-Identifier: GPL-3.0-or-later
// The scheduling dialog: its countdown from idle to OK or Cancel, its phone book, and the
// two buttons that dial and hang up by hand.
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_dial_reporter.h"
#include "batch/dialup/pppd_dial_up.h"
#include "tests/support/fake_dial_up.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TForm2Test : public ::testing::Test {
protected:
    TForm2& Shown() {
        form.show();
        return form;
    }
    std::vector<QWidget*> Inputs() const {
        return {form.UpDown1,   form.UpDown2,   form.Edit1,   form.Edit2,
                form.Button1,   form.Cs,        form.Edit7,   form.Edit10,
                form.CheckBox3, form.CheckBox1, form.Button3, form.Button4};
    }
    bool AllInputsEnabled(bool on) const {
        for (QWidget* input : Inputs())
            if (input->isEnabled() != on)
                return false;
        return true;
    }
    void StartCountdown(int hours, int minutes) {
        form.UpDown1->setValue(hours);
        form.UpDown2->setValue(minutes);
        form.Button1->click();
    }

    FakeDialUp service;
    FakeDialReporter reporter;
    TForm2 form{service, reporter};
};

TEST_F(TForm2Test, WindowAndCaptions) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Таймер"));
    EXPECT_EQ(form.size(), QSize(386, 272));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.Label4->text(), QStringLiteral("Закачку начать через:"));
    EXPECT_EQ(form.Label5->text(), QStringLiteral("часов"));
    EXPECT_EQ(form.Label6->text(), QStringLiteral("минут"));
    EXPECT_EQ(form.CheckBox3->text(), QStringLiteral("Подключаться автоматически"));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Подключение:"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("Имя пользователя:"));
    EXPECT_EQ(form.Label7->text(), QStringLiteral("Пароль:"));
    EXPECT_EQ(form.CheckBox1->text(), QStringLiteral("разорвать все оединения после окончания"));
    EXPECT_EQ(form.GroupBox1->title(), QStringLiteral("Проверка"));
    EXPECT_EQ(form.Button3->text(), QStringLiteral("Подключится"));
    EXPECT_EQ(form.Button4->text(), QStringLiteral("Отключиться"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Ok"));
    EXPECT_EQ(form.Button2->text(), QStringLiteral("Отменить"));
    EXPECT_EQ(form.UpDown1->maximum(), 100);
    EXPECT_EQ(form.UpDown2->maximum(), 60);
    EXPECT_TRUE(form.Edit1->isReadOnly());
    EXPECT_EQ(form.Edit7->maxLength(), 30);
    EXPECT_EQ(form.Edit10->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.Timer1->interval(), 60000);
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(TForm2Test, NoDelayClosesAtOnceWithOk) {
    QTimer::singleShot(0, &form, [this] { form.Button1->click(); });
    EXPECT_TRUE(form.RunScheduleDialog().has_value());
}

TEST_F(TForm2Test, OneMinuteClosesOnTheFirstTick) {
    form.Timer1->setInterval(5);
    QTimer::singleShot(0, &form, [this] {
        StartCountdown(0, 1);
        EXPECT_EQ(form.Label1->text(), QStringLiteral("До начала закачки осталось: 0ч 1мин"));
        EXPECT_TRUE(form.Timer1->isActive());
        EXPECT_TRUE(AllInputsEnabled(false));
        EXPECT_TRUE(form.Button2->isEnabled());
    });
    EXPECT_TRUE(form.RunScheduleDialog().has_value()); // the timer itself closes it
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(TForm2Test, TwoHoursCountDownAMinuteATick) {
    Shown();
    StartCountdown(2, 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 120);
    EXPECT_EQ(form.Label1->text(), QStringLiteral("До начала закачки осталось: 2ч 0мин"));
    form.Timer1Timer();
    EXPECT_EQ(form.ProgressBar1->value(), 1);
    EXPECT_EQ(form.Label1->text(), QStringLiteral("До начала закачки осталось: 1ч 59мин"));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(TForm2Test, CancelDuringTheCountdownAndTheNextShowStartsIdle) {
    QTimer::singleShot(0, &form, [this] {
        StartCountdown(1, 5);
        form.Timer1Timer();
        form.Button2->click();
    });
    EXPECT_FALSE(form.RunScheduleDialog().has_value());
    EXPECT_FALSE(form.Timer1->isActive()); // a hidden dialog never ticks on

    Shown();
    EXPECT_TRUE(AllInputsEnabled(true));
    EXPECT_EQ(form.UpDown1->value(), 0);
    EXPECT_EQ(form.UpDown2->value(), 0);
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.Label1->text().isEmpty());
}

TEST_F(TForm2Test, ChoiceLastsForTheRun) {
    service.entries = {QStringLiteral("home"), QStringLiteral("isp")};
    Shown();
    EXPECT_EQ(form.Cs->count(), 2);
    EXPECT_EQ(form.Cs->currentText(), QStringLiteral("home"));
    form.Cs->setCurrentIndex(1);
    form.CheckBox3->setChecked(true);
    form.CheckBox1->setChecked(true);
    form.Edit7->setText(QStringLiteral("ivan"));
    form.Edit10->setText(QStringLiteral("s3cret"));
    form.Button2->click();

    QTimer::singleShot(0, &form, [this] { form.Button1->click(); });
    const std::optional<ScheduleChoice> choice = form.RunScheduleDialog();
    ASSERT_TRUE(choice);
    EXPECT_TRUE(choice->dial);
    EXPECT_EQ(choice->entry, QStringLiteral("isp"));
    EXPECT_EQ(choice->user, QStringLiteral("ivan"));
    EXPECT_EQ(choice->password, QStringLiteral("s3cret"));
    EXPECT_TRUE(choice->hangUp);
}

TEST_F(TForm2Test, TestButtonsDialTheChosenEntryAndHangUp) {
    service.entries = {QStringLiteral("isp")};
    service.connections = {5};
    Shown();
    form.Edit7->setText(QStringLiteral("ivan"));
    form.Edit10->setText(QStringLiteral("s3cret"));
    form.Button3->click();
    ASSERT_EQ(service.dials.size(), 1u);
    EXPECT_EQ(service.dials[0].entry, QStringLiteral("isp"));
    EXPECT_EQ(service.dials[0].password, QStringLiteral("s3cret"));

    form.Cs->setEditText(QStringLiteral("typed, not listed"));
    form.Button3->click();
    EXPECT_EQ(service.dials.size(), 1u);

    form.Button4->click();
    EXPECT_EQ(service.hungUp, std::vector<ConnectionHandle>{5});
    EXPECT_EQ(reporter.statuses,
              QStringList({QStringLiteral("Подключение..."), QStringLiteral("Отключение...")}));
}

TEST(TForm2PppdTest, EmptyPhoneBookOffersNothingToDial) {
    TempDir home;
    ASSERT_TRUE(QDir().mkpath(home.file("peers")));
    PppdDialUp service({home.file("peers"), home.path(), home.file("pppd")});
    FakeDialReporter reporter;
    TForm2 form(service, reporter);
    form.show();
    EXPECT_EQ(form.Cs->currentText(), QStringLiteral("нет подключений"));
    EXPECT_EQ(form.Cs->currentIndex(), -1);
    form.Button3->click();
    EXPECT_TRUE(reporter.statuses.isEmpty());
}

TEST(WindowDialReporter, StatusGoesToTheProgressLineAndMessagesToABox) {
    CancelFlag cancel;
    TForm3 progress(cancel);
    QWidget window;
    WindowDialReporter reporter(progress, &window);
    reporter.SetStatus(QStringLiteral("Подключение..."));
    EXPECT_EQ(progress.Label1->text(), QStringLiteral("Подключение..."));

    QString caption;
    QString text;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    reporter.ShowMessage(QStringLiteral("ошибки"), QStringLiteral("Линия занята"));
    EXPECT_EQ(caption, QStringLiteral("ошибки"));
    EXPECT_EQ(text, QStringLiteral("Линия занята"));
    EXPECT_EQ(buttons, 1);
}

} // namespace
