// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rewriting the quadrant letters of the view's four tiles for panning and zooming. Every
// operation returns a new 2 by 2 block (slot 0 top-left, 1 top-right, 2 bottom-right,
// 3 bottom-left) and leaves its argument unchanged.
#include "tiles/tile_key.h"
#include "tiles/view_urls.h"

#include <QString>
#include <array>

enum class PanDirection { North, South, West, East, NorthWest, NorthEast, SouthEast, SouthWest };

// A zoom's new letters and, for each slot, the slot of the old view whose tile it was
// derived from: the request prefix goes with the tile.
struct ViewMove {
    ViewLetters letters;
    std::array<int, 4> from{0, 1, 2, 3};

    // The four tiles all derived from the one in slot.
    static ViewMove FromSlot(int slot, const ViewLetters& letters) {
        return {letters, {slot, slot, slot, slot}};
    }
};

// The block whose top-left tile is anchor: top-right east of it, bottom-right south of that,
// bottom-left south of the anchor.
ViewLetters BlockFromAnchor(const QString& anchor);

// Moves the view one tile in the direction. A diagonal move applies its first step to all
// four tiles before its second: west then north, north then east, east then south, west
// then south.
ViewLetters PanView(const ViewLetters& view, PanDirection direction);

// The four children of a tile: tile + q, r, s, t.
ViewLetters ZoomIntoTile(const QString& tile);

// The four children of an ancestor of the anchor; the same block as ZoomIntoTile.
ViewLetters ZoomOutToAncestor(const QString& ancestor);

// One level deeper about the view's centre: each slot gains the child that touches the
// centre (s, t, q, r).
ViewLetters ZoomInAboutCentre(const ViewLetters& view);

// A click on the tile in the slot: the right button at level 2 or more shows the four
// children of the anchor's grandparent, anything else shows the four children of the
// clicked tile (with no upper bound on the level). A slot outside 0..3 changes nothing.
ViewMove ClickZoom(const ViewLetters& view, int slot, bool rightButton);

// The zoom slider's range; values outside it are clamped as the slider itself does.
inline constexpr int kSliderMinLevel = kLowestLevel;
inline constexpr int kSliderMaxLevel = kHighestLevel;

// The slider released on value: a lower level shows the children of the anchor's ancestor
// at value - 1, a higher one zooms in about the centre, the same level keeps the view.
ViewMove SliderZoom(const ViewLetters& view, int value);
