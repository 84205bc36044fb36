// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/cache_coverage.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

TEST(CacheCoverage, SharesOfEachSubtreeFromOneListingOfTheFolder) {
    TempDir cache;
    // All four children of q, one grandchild of r, s itself; a name that is not a tile, a
    // half-written download and a file of another kind are not counted.
    for (const char* name : {"qq.jpg", "qr.jpg", "qs.jpg", "qt.jpg", "rqq.jpg", "s.jpg", "tqx.jpg",
                             "tq.jpg.part", "tq.png", "validators.db"})
        cache.write(name, "x");
    const PrefixTileSource source("http://host/", cache.path());
    const CachedLetters cached = CachedLetters::OfSource(source, "q");
    const struct {
        const char* letters;
        int level;
        CoverageShare share;
    } cases[] = {
        {"q", 2, CoverageShare::All},   {"r", 2, CoverageShare::None},
        {"r", 3, CoverageShare::Part},  {"s", 2, CoverageShare::None},
        {"s", 1, CoverageShare::All},   {"sq", 1, CoverageShare::All}, // its ancestor, cached
        {"qq", 1, CoverageShare::None}, {"t", 2, CoverageShare::None},
        {"q", 3, CoverageShare::None},  {"r", 20, CoverageShare::None}, // millions below, fast
    };
    for (const auto& c : cases)
        EXPECT_EQ(cached.ShareAt(c.letters, c.level), c.share) << c.letters << " at " << c.level;
    EXPECT_EQ(cached.CountUnder("", 2), 4u);
}
