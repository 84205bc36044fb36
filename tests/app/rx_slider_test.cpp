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
    QTest::qWait(RxSlider::kRepeatMs * 2 + 150);
    EXPECT_EQ(slider.value(), 8); // and one more every 400 ms
    EXPECT_EQ(ends.count(), 0);   // still changing
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, nearRightEnd);
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(changes.count(), 3);
    QTest::qWait(RxSlider::kRepeatMs + 100);
    EXPECT_EQ(slider.value(), 8); // the repeat stopped with the release
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
