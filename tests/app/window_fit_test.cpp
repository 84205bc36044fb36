// SPDX-License-Identifier: GPL-3.0-or-later
// The window's starting size on screens too small for it at a large scale.
#include "app/window_fit.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowFit, ShrinksOnlyAtALargeScaleOnAScreenTooSmall) {
    const QSize layout(512, 670);
    const QSize frame(4, 24);
    const struct {
        QSize available;
        qreal scale;
        QSize start;
    } cases[] = {
        {{800, 576}, 1, layout},       // scale 1 keeps its size on any screen
        {{960, 500}, 2, {512, 476}},   // 1920 x 1000 at twice the size: the height gives way
        {{1280, 760}, 2, layout},      // room enough
        {{400, 300}, 2.5, {396, 276}}, // and the width where it must
        {{}, 2, layout},               // no screen to measure
    };
    for (const auto& each : cases)
        EXPECT_EQ(FittedStartSize(layout, each.available, frame, each.scale), each.start)
            << each.available.width() << 'x' << each.available.height() << '@' << each.scale;
}

} // namespace
