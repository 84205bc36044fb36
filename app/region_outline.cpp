// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/region_outline.h"

#include "tiles/tile_block.h"
#include "tiles/tile_side.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// Latitudes beyond the Mercator grid are drawn at its edge.
constexpr double kGridLatitude = 85.0511287798;

} // namespace

RegionOutline::RegionOutline(QWidget* parent) : QWidget(parent) {
    setGeometry(0, 0, 2 * kTileSide, 2 * kTileSide);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void RegionOutline::Show(const std::optional<GeoRegion>& region, const TileKey& anchor) {
    region_ = region;
    anchor_ = anchor;
    setVisible(region_.has_value());
    raise();
    update();
}

void RegionOutline::paintEvent(QPaintEvent*) {
    if (!region_)
        return;
    const double tiles = std::ldexp(1.0, anchor_.level);
    const auto pixel = [&](const GeoPoint& p) {
        const double column = (p.longitude + 180) / 360 * tiles;
        const double row =
            RowAtLatitude(anchor_.level, std::clamp(p.latitude, -kGridLatitude, kGridLatitude));
        return QPointF((column - anchor_.column) * kTileSide, (row - anchor_.row) * kTileSide);
    };
    QPainterPath path;
    const auto addRing = [&](const GeoRing& ring) {
        if (ring.empty())
            return;
        path.moveTo(pixel(ring.front()));
        for (const GeoPoint& p : ring)
            path.lineTo(pixel(p));
        path.closeSubpath();
    };
    for (const GeoPolygon& polygon : region_->Polygons()) {
        addRing(polygon.outer);
        for (const GeoRing& hole : polygon.holes)
            addRing(hole);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 0, 200), 2));
    painter.setBrush(QColor(255, 0, 200, 40));
    path.setFillRule(Qt::OddEvenFill);
    painter.drawPath(path);
}
