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

std::optional<TileKey> NthRegionTile(const GeoRegion& region, int level, std::int64_t index) {
    RegionRows rows(region, level);
    while (index >= 0 && rows.Next())
        for (const ColumnRun& run : rows.Runs()) {
            const std::int64_t length = std::int64_t{run.last} - run.first + 1;
            if (index < length)
                return TileKey{level, static_cast<std::uint32_t>(run.first + index), rows.Row()};
            index -= length;
        }
    return std::nullopt;
}
