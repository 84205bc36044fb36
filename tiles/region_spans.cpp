// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_spans.h"

#include <algorithm>

namespace {

// Adds run to the end of a row's runs, joining the last one when they overlap or touch.
void Append(std::vector<ColumnRun>& runs, std::size_t rowBegin, ColumnRun run) {
    if (runs.size() > rowBegin && run.first <= std::uint64_t{runs.back().last} + 1)
        runs.back().last = std::max(runs.back().last, run.last);
    else
        runs.push_back(run);
}

// The level above finer: each of its rows the two child rows' runs merged from the west,
// halved.
LevelSpans Coarser(const LevelSpans& finer) {
    LevelSpans coarse;
    coarse.level = finer.level - 1;
    coarse.rows.reserve(finer.rows.size() / 2 + 1);
    coarse.rowEnds.reserve(finer.rows.size() / 2 + 1);
    coarse.runs.reserve(finer.runs.size());
    const auto halved = [](const ColumnRun& run) { return ColumnRun{run.first / 2, run.last / 2}; };
    for (std::size_t i = 0; i < finer.rows.size();) {
        const std::uint32_t row = finer.rows[i] / 2;
        std::span<const ColumnRun> north = finer.RunsOf(i++);
        std::span<const ColumnRun> south;
        if (i < finer.rows.size() && finer.rows[i] / 2 == row)
            south = finer.RunsOf(i++);
        const std::size_t rowBegin = coarse.runs.size();
        while (!north.empty() || !south.empty()) {
            const bool fromNorth =
                south.empty() || (!north.empty() && north.front().first <= south.front().first);
            std::span<const ColumnRun>& from = fromNorth ? north : south;
            Append(coarse.runs, rowBegin, halved(from.front()));
            from = from.subspan(1);
        }
        coarse.rows.push_back(row);
        coarse.rowEnds.push_back(coarse.runs.size());
        for (std::size_t r = rowBegin; r < coarse.runs.size(); ++r)
            coarse.tiles += std::int64_t{coarse.runs[r].last} - coarse.runs[r].first + 1;
    }
    return coarse;
}

} // namespace

std::shared_ptr<const std::vector<LevelSpans>>
SweepRegionLevels(const GeoRegion& region, int firstLevel, int lastLevel, std::size_t mostRuns) {
    auto levels = std::make_shared<std::vector<LevelSpans>>();
    if (firstLevel > lastLevel)
        return levels;
    LevelSpans finest;
    finest.level = lastLevel;
    RegionRows rows(region, lastLevel);
    while (rows.Next()) {
        if (finest.runs.size() + rows.Runs().size() > mostRuns)
            return nullptr;
        finest.rows.push_back(rows.Row());
        for (const ColumnRun& run : rows.Runs()) {
            finest.runs.push_back(run);
            finest.tiles += std::int64_t{run.last} - run.first + 1;
        }
        finest.rowEnds.push_back(finest.runs.size());
    }
    levels->resize(static_cast<std::size_t>(lastLevel - firstLevel + 1));
    levels->back() = std::move(finest);
    for (std::size_t i = levels->size() - 1; i > 0; --i)
        (*levels)[i - 1] = Coarser((*levels)[i]);
    return levels;
}
