// SPDX-License-Identifier: GPL-3.0-or-later
// The imagery source as the user chooses it on the settings tab.
#include "app/rx_slider.h"
#include "tests/app/window_fixture.h"

#include <QFile>

TEST_F(WindowTest, ChosenSourceBoundsZoomingAndIsKeptAfterTheOldLines) {
    ServeFromLoopback();
    // Nothing listens on port 1: the view of the source fails fast, which is not the point.
    home.write("MySources.ini", "[near]\ntitle = Near\nurl = http://127.0.0.1:1/{z}/{x}/{y}.jpg\n"
                                "levels = 1-2\n");
    TForm1& w = Open();
    ASSERT_EQ(w.SourceBox->count(), 6); // the demo, the four public sources, the user's
    EXPECT_EQ(w.CurrentSource().name, "demo");
    w.PageControl1->setCurrentWidget(w.TabSheet4);
    w.SourceBox->setFocus();
    QTest::keyClick(w.SourceBox, Qt::Key_End);
    EXPECT_EQ(w.CurrentSource().name, "near");

    w.RxSlider1->setFocus();
    QTest::keyClick(w.RxSlider1, Qt::Key_Right);
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
    QTest::keyClick(w.RxSlider1, Qt::Key_Right); // level 3: the source has none
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
    EXPECT_EQ(w.RxSlider1->value(), 2);
    EXPECT_EQ(Panel(3), "нет уровня 3 (есть 1–2)");
    Close();

    QFile file(home.file("ORB.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), kSettingsLineCount + 2); // the source line, then the last break
    EXPECT_EQ(lines[kSettingsLineCount], "near\r");
    EXPECT_EQ(Open().CurrentSource().name, "near");
}
