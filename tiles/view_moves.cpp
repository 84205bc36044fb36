// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/view_moves.h"

#include "tiles/neighbours.h"

#include <algorithm>

namespace {

using NeighbourStep = QString (*)(const QString&);

ViewLetters ApplyToAll(const ViewLetters& view, NeighbourStep step) {
    ViewLetters moved;
    for (std::size_t slot = 0; slot < view.size(); ++slot)
        moved[slot] = step(view[slot]);
    return moved;
}

ViewLetters ApplyTwice(const ViewLetters& view, NeighbourStep first, NeighbourStep second) {
    return ApplyToAll(ApplyToAll(view, first), second);
}

} // namespace

ViewLetters BlockFromAnchor(const QString& anchor) {
    const QString topRight = EastNeighbour(anchor);
    return {anchor, topRight, SouthNeighbour(topRight), SouthNeighbour(anchor)};
}

ViewLetters PanView(const ViewLetters& view, PanDirection direction) {
    switch (direction) {
    case PanDirection::North:
        return ApplyToAll(view, NorthNeighbour);
    case PanDirection::South:
        return ApplyToAll(view, SouthNeighbour);
    case PanDirection::West:
        return ApplyToAll(view, WestNeighbour);
    case PanDirection::East:
        return ApplyToAll(view, EastNeighbour);
    case PanDirection::NorthWest:
        return ApplyTwice(view, WestNeighbour, NorthNeighbour);
    case PanDirection::NorthEast:
        return ApplyTwice(view, NorthNeighbour, EastNeighbour);
    case PanDirection::SouthEast:
        return ApplyTwice(view, EastNeighbour, SouthNeighbour);
    case PanDirection::SouthWest:
        return ApplyTwice(view, WestNeighbour, SouthNeighbour);
    }
    return view;
}

ViewLetters ZoomIntoTile(const QString& tile) {
    ViewLetters children;
    for (int slot = 0; slot < 4; ++slot)
        children[slot] = tile + ChildLetter(slot);
    return children;
}

ViewLetters ZoomOutToAncestor(const QString& ancestor) {
    return ZoomIntoTile(ancestor);
}

ViewLetters ZoomInAboutCentre(const ViewLetters& view) {
    ViewLetters deeper;
    for (int slot = 0; slot < 4; ++slot)
        deeper[slot] = view[slot] + InnerChildLetter(slot);
    return deeper;
}

ViewMove ClickZoom(const ViewLetters& view, int slot, bool rightButton) {
    if (rightButton && view[0].size() >= 2)
        return ViewMove::FromSlot(0, ZoomOutToAncestor(view[0].chopped(2)));
    if (slot < 0 || slot > 3)
        return {view};
    return ViewMove::FromSlot(slot, ZoomIntoTile(view[slot]));
}

ViewMove SliderZoom(const ViewLetters& view, int value) {
    const int target = std::clamp(value, kSliderMinLevel, kSliderMaxLevel);
    const auto level = static_cast<int>(view[0].size());
    if (target < level)
        return ViewMove::FromSlot(0, ZoomOutToAncestor(view[0].left(target - 1)));
    ViewLetters result = view;
    for (int i = level; i < target; ++i)
        result = ZoomInAboutCentre(result);
    return {result};
}
