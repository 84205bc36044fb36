#pragma once
// Rewriting the four references of the view for panning and zooming. Every operation
// returns a new 2 by 2 block (slot 0 top-left, 1 top-right, 2 bottom-right,
// 3 bottom-left) and leaves its argument unchanged.
#include "tiles/view_urls.h"

#include <QString>

enum class PanDirection { North, South, West, East, NorthWest, NorthEast, SouthEast, SouthWest };

// The block whose top-left tile is anchor: top-right east of it, bottom-right south of that,
// bottom-left south of the anchor.
ViewUrls BlockFromAnchor(const QString& anchor, int prefixLength);

// Moves the view one tile in the direction. A diagonal move applies its first step to all
// four tiles before its second: west then north, north then east, east then south, west
// then south.
ViewUrls PanView(const ViewUrls& view, int prefixLength, PanDirection direction);

// The four children of a tile: tile + q, r, s, t.
ViewUrls ZoomIntoTile(const QString& tile);

// The four children of an ancestor of the anchor; the same block as ZoomIntoTile.
ViewUrls ZoomOutToAncestor(const QString& ancestor);

// The same tiles on another request prefix: each reference's first prefixLength characters
// are replaced by newPrefix. File names depend on the quadrant letters alone, so the cache
// still serves the same files.
ViewUrls WithPrefix(const ViewUrls& view, int prefixLength, const QString& newPrefix);

// One level deeper about the view's centre: each slot gains the child that touches the
// centre (s, t, q, r).
ViewUrls ZoomInAboutCentre(const ViewUrls& view);

// A click on the tile in the slot: the right button at level 2 or more shows the four
// children of the anchor's grandparent, anything else shows the four children of the
// clicked tile (with no upper bound on the level). A slot outside 0..3 changes nothing.
ViewUrls ClickZoom(const ViewUrls& view, int prefixLength, int slot, bool rightButton);

// The zoom slider's range; values outside it are clamped as the slider itself does.
inline constexpr int kSliderMinLevel = 1;
inline constexpr int kSliderMaxLevel = 20;

// The slider released on value: a lower level shows the children of the anchor's ancestor
// at value - 1, a higher one zooms in about the centre, the same level keeps the view.
ViewUrls SliderZoom(const ViewUrls& view, int prefixLength, int value);
