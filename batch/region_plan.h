#pragma once
// The region a prefill of a view covers, level by level: the 2 by 2 view at its own level,
// and at each deeper level the same square, 2^k times as many tiles a side k levels down.
// The prefill fetches the deepest of these; an export writes them all.
#include "tiles/tile_block.h"

#include <vector>

// One block per level from the view's level to depth (both included, coarsest first);
// empty when depth is above kMaxTileLevel or below the view's level. The blocks start
// at the anchor's own cell scaled down and wrap around the world as the view does.
std::vector<TileBlock> PlanRegion(int viewLevel, TileCell anchor, int depth);
