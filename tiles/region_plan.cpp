// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/region_plan.h"

std::vector<TileBlock> PlanRegion(const TileKey& anchor, int depth) {
    const int viewLevel = anchor.level;
    std::vector<TileBlock> blocks;
    if (viewLevel < 1 || depth < viewLevel || depth > kMaxTileLevel)
        return blocks;
    for (int level = viewLevel; level <= depth; ++level) {
        const int down = level - viewLevel;
        const std::int64_t side = std::int64_t{2} << down;
        blocks.push_back({level, std::int64_t{anchor.column} << down,
                          std::int64_t{anchor.row} << down, side, side});
    }
    return blocks;
}
