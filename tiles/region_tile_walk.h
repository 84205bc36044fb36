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
        if (column_ > runLast_ && !NextRun())
            return std::nullopt;
        return TileKey{level_, static_cast<std::uint32_t>(column_++), row_};
    }

private:
    // Moves to the next run of the row, else to the next row that has one; false at the end.
    bool NextRun();

    GeoRegion region_;
    int lastLevel_;
    RegionRows rows_;
    std::size_t run_ = 0; // of rows_.Runs(); past them before the first row
    int level_ = 0;
    std::uint32_t row_ = 0;
    std::uint64_t column_ = 1; // the next column of the run; past runLast_ when it is done
    std::uint64_t runLast_ = 0;
};

// How many tiles the region meets over the levels, both included.
std::int64_t CountRegionTiles(const GeoRegion& region, int firstLevel, int lastLevel);

// A region and the levels a job takes of it, both included.
struct RegionLevels {
    GeoRegion region;
    int firstLevel = 1;
    int lastLevel = 1;

    RegionTileWalk Walk() const { return RegionTileWalk(region, firstLevel, lastLevel); }
    std::int64_t Count() const { return CountRegionTiles(region, firstLevel, lastLevel); }
};

// The tile at index (from 0) in the walk of one level, or nothing past its end: found row by
// row, so that a sample can be drawn without listing the tiles.
std::optional<TileKey> NthRegionTile(const GeoRegion& region, int level, std::int64_t index);
