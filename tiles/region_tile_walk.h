#pragma once
// The tiles a region meets over a range of levels, one at a time in the order the jobs fetch
// them: level by level from the coarsest, rows from the north, west to east inside a row.
// Holds one row's runs at a time, whatever the number of tiles.
#include "tiles/region_rows.h"
#include "tiles/tile_key.h"

#include <optional>

class RegionTileWalk {
public:
    // Levels from firstLevel to lastLevel, both included; none when firstLevel > lastLevel.
    RegionTileWalk(GeoRegion region, int firstLevel, int lastLevel);

    std::optional<TileKey> Next() {
        while (run_ == runCount_ || column_ > rows_.Runs()[run_].last) {
            if (run_ < runCount_ && ++run_ < runCount_) {
                column_ = rows_.Runs()[run_].first;
                continue;
            }
            if (!NextRow())
                return std::nullopt;
        }
        return TileKey{rows_.Level(), static_cast<std::uint32_t>(column_++), rows_.Row()};
    }

private:
    bool NextRow();

    GeoRegion region_;
    int lastLevel_;
    RegionRows rows_;
    std::size_t run_ = 0;
    std::size_t runCount_ = 0;
    std::uint64_t column_ = 0;
};

// How many tiles the region meets over the levels, both included.
std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel);
