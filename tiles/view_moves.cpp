#include "tiles/view_moves.h"

#include "tiles/neighbours.h"
#include "tiles/tile_ref.h"

#include <algorithm>

namespace {

using NeighbourStep = QString (*)(const QString&, int);

ViewUrls ApplyToAll(const ViewUrls& view, int prefixLength, NeighbourStep step) {
    ViewUrls moved;
    for (std::size_t slot = 0; slot < view.size(); ++slot)
        moved[slot] = step(view[slot], prefixLength);
    return moved;
}

ViewUrls ApplyTwice(const ViewUrls& view, int prefixLength, NeighbourStep first,
                    NeighbourStep second) {
    return ApplyToAll(ApplyToAll(view, prefixLength, first), prefixLength, second);
}

} // namespace

ViewUrls BlockFromAnchor(const QString& anchor, int prefixLength) {
    const QString topRight = EastNeighbour(anchor, prefixLength);
    return {anchor, topRight, SouthNeighbour(topRight, prefixLength),
            SouthNeighbour(anchor, prefixLength)};
}

ViewUrls PanView(const ViewUrls& view, int prefixLength, PanDirection direction) {
    switch (direction) {
    case PanDirection::North:
        return ApplyToAll(view, prefixLength, NorthNeighbour);
    case PanDirection::South:
        return ApplyToAll(view, prefixLength, SouthNeighbour);
    case PanDirection::West:
        return ApplyToAll(view, prefixLength, WestNeighbour);
    case PanDirection::East:
        return ApplyToAll(view, prefixLength, EastNeighbour);
    case PanDirection::NorthWest:
        return ApplyTwice(view, prefixLength, WestNeighbour, NorthNeighbour);
    case PanDirection::NorthEast:
        return ApplyTwice(view, prefixLength, NorthNeighbour, EastNeighbour);
    case PanDirection::SouthEast:
        return ApplyTwice(view, prefixLength, EastNeighbour, SouthNeighbour);
    case PanDirection::SouthWest:
        return ApplyTwice(view, prefixLength, WestNeighbour, SouthNeighbour);
    }
    return view;
}

ViewUrls ZoomIntoTile(const QString& tile) {
    ViewUrls children;
    for (int slot = 0; slot < 4; ++slot)
        children[slot] = tile + ChildLetter(slot);
    return children;
}

ViewUrls ZoomOutToAncestor(const QString& ancestor) {
    return ZoomIntoTile(ancestor);
}

ViewUrls WithPrefix(const ViewUrls& view, int prefixLength, const QString& newPrefix) {
    ViewUrls moved;
    for (int slot = 0; slot < 4; ++slot)
        moved[slot] = newPrefix + QuadPathOf(view[slot], prefixLength);
    return moved;
}

ViewUrls ZoomInAboutCentre(const ViewUrls& view) {
    ViewUrls deeper;
    for (int slot = 0; slot < 4; ++slot)
        deeper[slot] = view[slot] + InnerChildLetter(slot);
    return deeper;
}

ViewUrls ClickZoom(const ViewUrls& view, int prefixLength, int slot, bool rightButton) {
    if (rightButton && LevelOf(view[0], prefixLength) >= 2)
        return ZoomOutToAncestor(view[0].chopped(2));
    if (slot < 0 || slot > 3)
        return view;
    return ZoomIntoTile(view[slot]);
}

ViewUrls SliderZoom(const ViewUrls& view, int prefixLength, int value) {
    const int target = std::clamp(value, kSliderMinLevel, kSliderMaxLevel);
    const int level = LevelOf(view[0], prefixLength);
    if (target < level)
        return ZoomOutToAncestor(
            view[0].left(ClampedPrefixLength(view[0], prefixLength) + target - 1));
    ViewUrls result = view;
    for (int i = level; i < target; ++i)
        result = ZoomInAboutCentre(result);
    return result;
}
