// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/map_graticule.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Expected pixels come from the Mercator formulas worked apart from the program.
TEST(MapGraticule, LinesFallOnRoundValuesWhereTheMercatorGridPutsThem) {
    struct Case {
        TileKey anchor;
        int width, height;
        std::int64_t step; // of the meridians, in thousandths of a minute
        long meridians, parallels;
        GraticuleLine first, last; // the westmost meridian, the southmost parallel
    };
    // clang-format off
    const Case cases[] = {
        // The world at level 1: every 90°.
        {{1, 0, 0}, 512, 512, 5400000, 4, 1, {true, 0, "W180г 0мин"}, {false, 256, "N0г 0мин"}},
        // Near Moscow at level 10: meridians every 10', parallels every 5' (cos 55° ≈ 0,57).
        {{10, 619, 321}, 768, 512, 10000, 7, 4, {true, 36.0296, "E37г 40мин"},
         {false, 421.2088, "N55г 15мин"}},
        // Level 20: hundredths of a minute, thousandths for the parallels at 80°.
        {{20, 699050, 104857}, 512, 512, 10, 4, 4, {true, 46.3910, "E59г 59,99мин"},
         {false, 502.4278, "N80г 44,276мин"}},
        // A block past the antimeridian and the south edge goes on from the west and north,
        // its parallels every 5° there.
        {{3, 7, 7}, 512, 512, 1800000, 3, 4, {true, 85.3333, "E150г 0мин"},
         {false, 485.9072, "N80г 0мин"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::vector<GraticuleLine> lines = GraticuleLines(c.anchor, c.width, c.height);
        EXPECT_EQ(GraticuleStep(c.anchor.level), c.step) << c.anchor.level;
        const long meridians = std::count_if(
            lines.begin(), lines.end(), [](const GraticuleLine& line) { return line.meridian; });
        EXPECT_EQ(meridians, c.meridians) << c.anchor.level;
        EXPECT_EQ(static_cast<long>(lines.size()) - meridians, c.parallels) << c.anchor.level;
        ASSERT_FALSE(lines.empty());
        for (const auto& [got, want] :
             {std::pair{lines.front(), c.first}, {lines.back(), c.last}}) {
            EXPECT_EQ(got.meridian, want.meridian);
            EXPECT_NEAR(got.pixel, want.pixel, 1e-3) << want.label.toStdString();
            EXPECT_EQ(got.label, want.label);
        }
    }
}

} // namespace
