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

RegionOutline::RegionOutline(QWidget* parent, QColor colour) : QWidget(parent), colour_(colour) {
    setGeometry(0, 0, 2 * kTileSide, 2 * kTileSide);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void RegionOutline::Show(const std::optional<GeoRegion>& region, const TileKey& anchor) {
    Show(MapShapes{{}, region ? region->Polygons() : std::vector<GeoPolygon>{}, {}, {}},
         region.has_value(), anchor);
}

void RegionOutline::Show(MapShapes shapes, bool shown, const TileKey& anchor) {
    shapes_ = std::move(shapes);
    anchor_ = anchor;
    setVisible(shown);
    update();
}

void RegionOutline::Follow(const TileKey& anchor, bool shown) {
    anchor_ = anchor;
    setVisible(shown);
    update();
}

void RegionOutline::paintEvent(QPaintEvent*) {
    const double tiles = std::ldexp(1.0, anchor_.level);
    const auto pixel = [&](const GeoPoint& p) {
        const double column = (p.longitude + 180) / 360 * tiles;
        const double row =
            RowAtLatitude(anchor_.level, std::clamp(p.latitude, -kGridLatitude, kGridLatitude));
        return QPointF((column - anchor_.column) * kTileSide, (row - anchor_.row) * kTileSide);
    };
    const auto addPoints = [&](QPainterPath& path, const GeoRing& points, bool closed) {
        if (points.empty())
            return;
        path.moveTo(pixel(points.front()));
        for (const GeoPoint& p : points)
            path.lineTo(pixel(p));
        if (closed)
            path.closeSubpath();
    };
    QPainterPath areas;
    areas.setFillRule(Qt::OddEvenFill);
    for (const GeoPolygon& polygon : shapes_.areas) {
        addPoints(areas, polygon.outer, true);
        for (const GeoRing& hole : polygon.holes)
            addPoints(areas, hole, true);
    }
    QPainterPath lines;
    for (const GeoRing& line : shapes_.lines)
        addPoints(lines, line, false);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = colour_;
    fill.setAlpha(40);
    painter.setPen(QPen(colour_, 2));
    painter.setBrush(fill);
    painter.drawPath(areas);
    // A line has a light edge, so that it shows over dark forest and sea alike.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(lines);
    painter.setPen(QPen(colour_, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(lines);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(colour_);
    for (const GeoPoint& p : shapes_.points)
        painter.drawEllipse(pixel(p), 4.0, 4.0);
}
