#include "batch/region_plan.h"

std::vector<TileBlock> PlanRegion(int viewLevel, TileCell anchor, int depth) {
    std::vector<TileBlock> blocks;
    if (viewLevel < 1 || depth < viewLevel || depth > kMaxTileLevel)
        return blocks;
    for (int level = viewLevel; level <= depth; ++level) {
        const int down = level - viewLevel;
        const std::int64_t side = std::int64_t{2} << down;
        blocks.push_back({level, anchor.column << down, anchor.row << down, side, side});
    }
    return blocks;
}
