// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a region of any shape, as a person gives it in the window or on the command line,
// can be fetched from a source at its levels, and the window's estimate of it.
#include "sources/source_definition.h"
#include "tiles/region_text.h"
#include "tiles/region_tile_walk.h"

#include <QString>
#include <optional>

// Why the region's levels cannot be fetched from the source (outside the levels a job
// fetches or the source gives, or no tile of the region within them), or nothing.
std::optional<QString> RegionLevelsRefusal(const SourceDefinition& source,
                                           const RegionLevels& levels);

// The window's estimate before "Начать": the tiles over the levels and, when the source's
// cache folder holds tiles to measure, about how many megabytes they take.
QString RegionEstimateText(const RegionLevels& levels, const QString& cacheFolder);
