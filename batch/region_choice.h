#pragma once
// A region of any shape as a person gives it, in the window or on the command line: a box
// typed in degrees, levels typed as "A-B", and whether the source can give those levels.
#include "fetch/source_definition.h"
#include "tiles/region_tile_walk.h"

#include <QString>
#include <array>
#include <optional>

// "W,S,E,N" in decimal degrees (west above east crosses the 180th meridian); nothing unless
// it is four numbers of a box on the globe with its south below its north.
std::optional<std::array<double, 4>> BoxOfText(const QString& text);

struct LevelRange {
    int first = 0;
    int last = 0;
};

// "A-B" or "A", whole numbers with A not above B; nothing otherwise.
std::optional<LevelRange> LevelsOfText(const QString& text);

// Why the region's levels cannot be fetched from the source (outside the levels a job
// fetches or the source gives, or no tile of the region within them), or nothing.
std::optional<QString> RegionLevelsRefusal(const SourceDefinition& source,
                                           const RegionLevels& levels);

// The window's estimate before "Начать": the tiles over the levels and, when the source's
// cache folder holds tiles to measure, about how many megabytes they take.
QString RegionEstimateText(const RegionLevels& levels, const QString& cacheFolder);
