// SPDX-License-Identifier: GPL-3.0-or-later
// The scheduling dialog's wait, counted down in whole minutes.
#include "batch/jobs/countdown.h"

#include <gtest/gtest.h>

TEST(Countdown, RunsInWholeMinutes) {
    Countdown none;
    EXPECT_FALSE(none.Start(0, 0));

    Countdown one;
    ASSERT_TRUE(one.Start(0, 1));
    EXPECT_EQ(one.Text(), QStringLiteral("До начала закачки осталось: 0ч 1мин"));
    EXPECT_TRUE(one.Tick());

    Countdown two;
    ASSERT_TRUE(two.Start(2, 0));
    EXPECT_EQ(two.Maximum(), 120);
    EXPECT_EQ(two.Position(), 0);
    EXPECT_FALSE(two.Tick());
    EXPECT_EQ(two.Position(), 1);
    EXPECT_EQ(two.Text(), QStringLiteral("До начала закачки осталось: 1ч 59мин"));

    Countdown ninety;
    ninety.Start(1, 30);
    EXPECT_EQ(ninety.Text(), QStringLiteral("До начала закачки осталось: 1ч 30мин"));
}
