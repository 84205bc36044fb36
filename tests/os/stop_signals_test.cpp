// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/stop_signals.h"

#include <gtest/gtest.h>

// A Ctrl+C after the last check (the picture being encoded, say) must not end the program
// with a status of its own once the signals are given back.
TEST(StopSignals, ASignalAfterTheLastCheckIsReadNotDeliveredLater) {
    {
        StopSignals stop;
        ASSERT_TRUE(stop.Valid());
        EXPECT_FALSE(stop.Requested());
        ASSERT_EQ(raise(SIGINT), 0);
        EXPECT_TRUE(stop.Requested());
        ASSERT_EQ(raise(SIGTERM), 0); // pending, never read
    }
    SUCCEED(); // still running
}
