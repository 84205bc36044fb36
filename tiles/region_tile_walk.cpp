#include "tiles/region_tile_walk.h"

RegionTileWalk::RegionTileWalk(GeoRegion region, int firstLevel, int lastLevel)
    : region_(region), lastLevel_(lastLevel), rows_(std::move(region), firstLevel) {}

bool RegionTileWalk::NextRow() {
    if (rows_.Level() > lastLevel_)
        return false;
    while (!rows_.Next()) {
        if (rows_.Level() >= lastLevel_) {
            runCount_ = run_ = 0;
            return false;
        }
        rows_ = RegionRows(region_, rows_.Level() + 1);
    }
    run_ = 0;
    runCount_ = rows_.Runs().size();
    column_ = rows_.Runs().front().first;
    return true;
}

std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel) {
    std::int64_t count = 0;
    for (int level = firstLevel; level <= lastLevel; ++level)
        count += CountRegionTiles(region, level);
    return count;
}
