// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rx_slider.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(RxSliderTest, PressOnTheRulerStepsTowardsThePointerUntilReleased) {
    RxSlider slider;
    slider.resize(337, 45);
    slider.setValue(5);
    slider.show();
    QSignalSpy changes(&slider, &RxSlider::Change);
    QSignalSpy ends(&slider, &RxSlider::Changed);

    const QPoint nearRightEnd(slider.width() - 8, slider.height() / 2);
    QTest::mousePress(&slider, Qt::LeftButton, {}, nearRightEnd);
    EXPECT_EQ(slider.value(), 6); // one step at once
    // Then one more every 400 ms, however late the timer fires on a busy machine.
    QElapsedTimer waited;
    waited.start();
    while (slider.value() < 8 && waited.elapsed() < 30'000)
        QTest::qWait(20);
    ASSERT_GE(slider.value(), 8);
    EXPECT_EQ(ends.count(), 0); // still changing
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, nearRightEnd);
    const int released = slider.value();
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(changes.count(), released - 5); // one signal per step
    QTest::qWait(RxSlider::kRepeatMs * 2);
    EXPECT_EQ(slider.value(), released); // the repeat stopped with the release
}

TEST(RxSliderTest, CodeClampsAndReportsOnlyChanges) {
    RxSlider slider;
    QSignalSpy changes(&slider, &RxSlider::Change);
    QSignalSpy ends(&slider, &RxSlider::Changed);
    slider.setValue(21);
    EXPECT_EQ(slider.value(), 20);
    slider.setValue(20);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(ends.count(), 0);
    // A key ends a change even when the value cannot move.
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(ends.count(), 1);
}
