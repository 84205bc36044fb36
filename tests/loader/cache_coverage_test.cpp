// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/cache_coverage.h"
#include "tests/support/temp_dir.h"

#include <QFile>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

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

// The listing is kept while the folder's time stays as it was, and made again once a file is
// written or removed, once another folder is asked about, and after a listing made while the
// folder's time was not yet settled (it may not move within the same tick of its clock).
TEST(CacheCoverage, AListingIsKeptUntilTheFolderChanges) {
    TempDir cache, other;
    const PrefixTileSource source("http://host/", cache.path());
    const PrefixTileSource elsewhere("http://host/", other.path());
    const std::time_t now = std::time(nullptr);
    const auto setTime = [&cache](std::time_t seconds) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(cache.path()), times, 0), 0);
    };
    const auto add = [&](const char* name, std::time_t folderTime) {
        cache.write(name, "x");
        setTime(folderTime);
    };
    add("qq.jpg", now - 3600);
    CoverageListing listing;
    const struct {
        const char* step;
        std::function<void()> change;
        std::uint64_t counted; // tiles at level 2 under q
    } steps[] = {
        {"first listing", [] {}, 1},
        {"a file slipped in, the folder's time put back: kept", [&] { add("qr.jpg", now - 3600); },
         1},
        {"the folder's time moved", [&] { setTime(now - 1800); }, 2},
        {"a file removed", [&] { QFile::remove(cache.file("qq.jpg")); }, 1},
        {"a file written", [&] { add("qs.jpg", now + 60); }, 2},
        {"one more at the same time", [&] { add("qt.jpg", now + 60); }, 3},
        {"another folder", [&] { other.write("qq.jpg", "x"); }, 1},
    };
    for (const auto& s : steps) {
        s.change();
        const TileSource& asked = &s == &steps[std::size(steps) - 1] ? elsewhere : source;
        EXPECT_EQ(listing.Of(asked, "q").CountUnder("q", 1), s.counted) << s.step;
    }
}
