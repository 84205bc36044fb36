// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shapes in degrees drawn over the block of tiles, at whatever level the view shows, in a
// colour of their own: the outline of a chosen region, or a track with its areas and points.
// It takes no mouse input: clicks go to the tiles below.
#include "gis/map_shapes.h"
#include "tiles/geo_region.h"
#include "tiles/tile_key.h"

#include <QColor>
#include <QPainterPath>
#include <QWidget>
#include <optional>

class RegionOutline : public QWidget {
public:
    // Covers the view, the 512 by 512 pixels from the parent's top-left corner, until the
    // window places it over a larger block.
    explicit RegionOutline(QWidget* parent, QColor colour = QColor(255, 0, 200));

    // The region to outline on the view whose top-left tile is anchor; nothing hides it.
    void Show(const std::optional<GeoRegion>& region, const TileKey& anchor);
    // The shapes, shown or hidden; the view whose top-left tile is anchor.
    void Show(MapShapes shapes, bool shown, const TileKey& anchor);
    // The same shapes on the view whose top-left tile is anchor now.
    void Follow(const TileKey& anchor, bool shown);
    QColor Colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawShapes(QPainter& painter, const QPainterPath& areas, const QPainterPath& lines) const;

    QColor colour_;
    MapShapes shapes_;
    TileKey anchor_;
};
