// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/map_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(MapScale, BarIsTheLongestRoundLengthThatFits) {
    EXPECT_NEAR(MetresPerPixel(0, 0), 156543.03, 0.01);
    EXPECT_NEAR(MetresPerPixel(60, 1), 156543.03 / 4, 0.01); // half the level, half the parallel
    struct Case {
        double latitude;
        int level;
        int maxPixels;
        double metres;
        int pixels;
    };
    const Case cases[] = {
        {0, 1, 100, 5000000, 64}, // 7,827 km fit: 5,000 km
        {0, 10, 100, 10000, 65},  // 15.3 km fit: 10 km
        {60, 10, 100, 5000, 65},  // half as much ground at 60°
        {0, 17, 100, 100, 84},    // 119 m fit: 100 m
        {0, 30, 100, 0, 0},       // not even a metre
        {90, 5, 100, 0, 0},       // the pole
    };
    for (const Case& c : cases) {
        const ScaleBar bar = ScaleBarFor(c.latitude, c.level, c.maxPixels);
        EXPECT_DOUBLE_EQ(bar.metres, c.metres) << c.latitude << " at " << c.level;
        EXPECT_EQ(bar.pixels, c.pixels) << c.latitude << " at " << c.level;
    }
}

} // namespace
