// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The region a prefill of a view covers, level by level: the 2 by 2 view at its own level,
// and at each deeper level the same square, 2^k times as many tiles a side k levels down.
// The prefill fetches the deepest of these; an export writes them all.
#include "tiles/tile_block.h"

#include <vector>

// One block per level from the anchor's level to depth (both included, coarsest first);
// empty when depth is above kMaxTileLevel or below the anchor's level. The blocks start
// at the anchor scaled down and wrap around the world as the view does.
std::vector<TileBlock> PlanRegion(const TileKey& anchor, int depth);
