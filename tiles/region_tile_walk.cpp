#include "tiles/region_tile_walk.h"

RegionTileWalk::RegionTileWalk(GeoRegion region, int firstLevel, int lastLevel)
    : region_(region), lastLevel_(lastLevel), rows_(std::move(region), firstLevel) {}

bool RegionTileWalk::NextRun() {
    if (++run_ >= rows_.Runs().size()) {
        if (rows_.Level() > lastLevel_)
            return false;
        while (!rows_.Next()) {
            if (rows_.Level() >= lastLevel_)
                return false;
            rows_ = RegionRows(region_, rows_.Level() + 1);
        }
        run_ = 0;
        level_ = rows_.Level();
        row_ = rows_.Row();
    }
    column_ = rows_.Runs()[run_].first;
    runLast_ = rows_.Runs()[run_].last;
    return true;
}

std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel) {
    std::int64_t count = 0;
    for (int level = firstLevel; level <= lastLevel; ++level)
        count += CountRegionTiles(region, level);
    return count;
}
