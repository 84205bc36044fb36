// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a stitch can take every tile from the cache as it is, decided before the job: then
// it draws no stand-in, whose text alone needs a GUI application and its fonts.
#include "sources/tile_source.h"
#include "tiles/view_urls.h"

// True when the cached file of each tile of the columns by rows rectangle whose north-west
// tile is the view's top-left one is a JPEG laid out as a whole tile (markers, sides and end)
// whose headers and tables the decoder takes; its coded data is not decoded, since damage
// there only gives wrong pixels. A PNG tile, whose damaged data fails, is not judged.
bool StitchWhollyCached(const TileSource& source, const ViewUrls& view, int columns, int rows);
