// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows a region meets at every level of a range, from one sweep of its boundary at the
// finest level: a tile meets the closed region exactly when one of its four children does,
// since its closed square is the union of theirs. So each coarser level's row is the union of
// its two child rows' runs, halved: a merge, where a sweep of its own would read the whole
// boundary again. Held in memory, they take a few words a run: as much as the region's
// outline at the finest level, never its area.
#include "tiles/region_rows.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct LevelSpans {
    int level = 0;
    std::vector<std::uint32_t> rows;  // that meet the region, from the north
    std::vector<std::size_t> rowEnds; // past each row's last run in runs
    std::vector<ColumnRun> runs;      // each row's, west to east, as RegionRows gives them
    std::int64_t tiles = 0;

    std::span<const ColumnRun> RunsOf(std::size_t rowIndex) const {
        const std::size_t begin = rowIndex ? rowEnds[rowIndex - 1] : 0;
        return {runs.data() + begin, rowEnds[rowIndex] - begin};
    }
};

// The finest level's runs held at most, 8 bytes each: a country's outline at level 20. A
// coarser level never has more runs than the next finer one, and a merge mostly halves them.
// A region of more runs is swept one level at a time instead.
inline constexpr std::size_t kMostHeldRuns = std::size_t{1} << 20;

// The levels from firstLevel to lastLevel (both included), coarsest first; nothing when the
// finest level has more than mostRuns runs.
std::shared_ptr<const std::vector<LevelSpans>>
SweepRegionLevels(const GeoRegion& region, int firstLevel, int lastLevel,
                  std::size_t mostRuns = kMostHeldRuns);
