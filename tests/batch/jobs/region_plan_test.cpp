// SPDX-License-Identifier: GPL-3.0-or-later
// The region an export covers must be the one a prefill of the same view fetches.
#include "batch/jobs/prefill_job.h"
#include "tiles/region_plan.h"

#include "tests/support/fake_front_end.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::set<std::pair<std::int64_t, std::int64_t>> Cells(const TileBlock& block) {
    std::set<std::pair<std::int64_t, std::int64_t>> cells;
    for (std::int64_t j = 0; j < block.rows; ++j)
        for (std::int64_t i = 0; i < block.columns; ++i) {
            const TileKey cell = CellInBlock(block, i, j);
            cells.insert({cell.row, cell.column});
        }
    return cells;
}

// Every tile the prefill job asks for on its way over the region.
std::set<std::pair<std::int64_t, std::int64_t>> PrefillCells(const QString& anchor, int depth) {
    FakeFrontEnd front;
    FakeHttpGet http;
    TempDir cache;
    for (int i = 0; i < 4 << (2 * (depth - anchor.size())); ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::gray));
    TileCounters counters;
    const ViewSource tiles{std::make_shared<PrefixTileSource>(QString(), cache.path()),
                           WorkMode::CacheAndInternet, http};
    EXPECT_EQ(
        RunPrefill({{anchor, {}, {}, {}}, depth, {BatchRetry{1, 0, 25, 3, 3}, false}, counters},
                   front.Services(tiles), front, front),
        JobEnding::Done);
    std::set<std::pair<std::int64_t, std::int64_t>> cells;
    for (const QString& letters : http.requests) {
        const std::optional<TileKey> key = TileKey::FromLetters(letters.toStdString());
        EXPECT_TRUE(key);
        cells.insert({key->row, key->column});
    }
    return cells;
}

TEST(RegionPlan, DeepestLevelIsWhatThePrefillFetches) {
    // Inland, and views whose 2 by 2 block wraps past the east and the south edge.
    const std::pair<const char*, int> cases[] = {{"rtq", 5}, {"rr", 4}, {"ss", 3}, {"q", 1}};
    for (const auto& [path, depth] : cases) {
        const QString anchor = QString::fromLatin1(path);
        const std::optional<TileKey> key = TileKey::FromLetters(path);
        ASSERT_TRUE(key);
        const std::vector<TileBlock> plan = PlanRegion(*key, depth);
        ASSERT_EQ(plan.size(), std::size_t(depth - anchor.size() + 1)) << path;
        EXPECT_EQ(plan.front(), (TileBlock{int(anchor.size()), key->column, key->row, 2, 2}));
        if (depth > anchor.size()) {
            EXPECT_EQ(Cells(plan.back()), PrefillCells(anchor, depth)) << path;
        }
    }
    // Levels out of order plan nothing.
    EXPECT_TRUE(PlanRegion({5, 0, 0}, 4).empty());
    EXPECT_TRUE(PlanRegion({5, 0, 0}, kMaxTileLevel + 1).empty());
}

} // namespace
