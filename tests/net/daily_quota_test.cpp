// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/daily_quota.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

TEST(DailyQuota, CountsEachCalendarDayAcrossRunsAndResumesTheNextDay) {
    TempDir folder;
    QDate today(2024, 5, 31);
    const auto clock = [&today] { return today; };
    {
        DailyQuota quota(folder.path(), 3, clock);
        EXPECT_TRUE(quota.Take());
        EXPECT_TRUE(quota.Take());
    }
    DailyQuota quota(folder.path(), 3, clock); // another run, the same day
    EXPECT_EQ(quota.Left(), 1);
    EXPECT_TRUE(quota.Take());
    EXPECT_FALSE(quota.Take());
    EXPECT_EQ(quota.Left(), 0);
    EXPECT_EQ(quota.ResumesOn(), QDate(2024, 6, 1));
    today = today.addDays(1); // midnight passes while the job waits
    EXPECT_EQ(quota.Left(), 3);
    EXPECT_TRUE(quota.Take());
    EXPECT_EQ(folder.read(DailyQuota::kFileName), "2024-06-01 1\n");

    // A count that cannot be read is none; no quota counts nothing and writes nothing.
    for (const QByteArray& damaged : {QByteArray("garbage"), QByteArray("2024-06-01 -5\n")}) {
        folder.write(DailyQuota::kFileName, damaged);
        EXPECT_EQ(DailyQuota(folder.path(), 3, clock).Left(), 3) << damaged.data();
    }
    TempDir other;
    DailyQuota none(other.path(), 0, clock);
    EXPECT_TRUE(none.Take());
    EXPECT_FALSE(other.exists(DailyQuota::kFileName));
}
