// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the tile and pixel of a typed latitude and longitude, and the view that shows
// that point in its central 256 by 256 square.
#include "tiles/view_urls.h"

#include <QString>

// The path of the tile holding the point and the point's pixel inside it, counted from
// the tile's top-left corner.
struct TileSearch {
    QString path;
    int markX = 0;
    int markY = 0;
};

// The deepest search level; deeper levels are searched at this one.
inline constexpr int kMaxSearchLevel = 60;

// latitude and longitude are the typed, hemisphere-free degrees; latHemisphereIndex is
// 0 north or 1 south, lonHemisphereIndex 0 west or 1 east, -1 (or any other value) when
// nothing is selected, in which case the path has no first letter. The path has `level`
// letters. A point on a dividing line goes to the upper or eastern tile. Latitudes
// beyond the Mercator limit but short of the pole give a tile of the edge row and a
// mark outside it. At the pole itself (90 or more) the formulas have no value: the point
// is put on the pole edge of the selected hemisphere (the top row and mark row 0 for the
// north, the bottom row and mark row 256 for the south); a latitude of -90 or less is
// put on the equator edge of the selected hemisphere in the same way. Marks too far out
// for an int are clamped.
TileSearch LatLonToTile(double latitude, double longitude, int latHemisphereIndex,
                        int lonHemisphereIndex, int level);

struct SearchView {
    ViewUrls view;
    QString markedTile;
    int markX = 0;
    int markY = 0;
};

// The view for a search result, in quadrant letters: the marked tile is the path, the anchor
// is chosen by the quarter of the marked tile the point falls in, so that the point lies in
// the view's central square, and the rest of the block follows from the anchor.
SearchView SearchViewFor(const TileSearch& search);
