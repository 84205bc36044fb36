// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outline of a chosen region drawn over the 2 by 2 view, at whatever level the view
// shows, in a colour of its own. It takes no mouse input: clicks go to the tiles below.
#include "tiles/geo_region.h"
#include "tiles/tile_key.h"

#include <QWidget>
#include <optional>

class RegionOutline : public QWidget {
public:
    // Covers the view, the 512 by 512 pixels from the parent's top-left corner, until the
    // window places it over a larger block.
    explicit RegionOutline(QWidget* parent);

    // The region to outline on the view whose top-left tile is anchor; nothing hides it.
    void Show(const std::optional<GeoRegion>& region, const TileKey& anchor);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<GeoRegion> region_;
    TileKey anchor_;
};
