// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_cover.h"

#include "tiles/region_rows.h"

#include <algorithm>

namespace {

// Adds a run to sorted, disjoint runs, merging what it overlaps or touches.
void Unite(std::vector<ColumnRun>& runs, ColumnRun run) {
    auto at =
        std::lower_bound(runs.begin(), runs.end(), run, [](const ColumnRun& a, const ColumnRun& b) {
            return a.last + 1 < b.first;
        });
    while (at != runs.end() && at->first <= run.last + 1) {
        run = {std::min(run.first, at->first), std::max(run.last, at->last)};
        at = runs.erase(at);
    }
    runs.insert(at, run);
}

} // namespace

std::optional<TileBlock> RegionCover(const GeoRegion& region, int level) {
    RegionRows rows(region, level);
    std::vector<ColumnRun> columns;
    std::int64_t firstRow = -1;
    std::int64_t lastRow = -1;
    while (rows.Next()) {
        if (firstRow < 0)
            firstRow = rows.Row();
        lastRow = rows.Row();
        for (const ColumnRun& run : rows.Runs())
            Unite(columns, run);
    }
    if (columns.empty())
        return std::nullopt;
    // The cover leaves out the widest stretch of columns without a tile, which may run
    // round the 180th meridian.
    const std::int64_t side = std::int64_t{1} << level;
    std::size_t after = columns.size() - 1; // the run the widest gap follows
    std::int64_t widest = side - 1 - columns.back().last + columns.front().first;
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        const std::int64_t gap = std::int64_t{columns[i + 1].first} - columns[i].last - 1;
        if (gap > widest) {
            widest = gap;
            after = i;
        }
    }
    const std::int64_t west = columns[(after + 1) % columns.size()].first;
    return TileBlock{level, west, firstRow, side - widest, lastRow - firstRow + 1};
}
