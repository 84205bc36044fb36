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
    for (const GeoPoint& p : shapes_.points)
        lines.addEllipse(pixel(p), 4.0, 4.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The block repeats the world east and west: each copy that reaches the widget is drawn.
    const double world = tiles * kTileSide;
    const QRectF bounds = areas.boundingRect() | lines.boundingRect();
    const auto first = static_cast<int>(std::floor(-bounds.right() / world));
    const auto last = static_cast<int>(std::ceil((width() - bounds.left()) / world));
    for (int copy = std::max(first, -64); copy <= std::min(last, 64); ++copy) {
        painter.save();
        painter.translate(copy * world, 0);
        DrawShapes(painter, areas, lines);
        painter.restore();
    }
}

void RegionOutline::DrawShapes(QPainter& painter, const QPainterPath& areas,
                               const QPainterPath& lines) const {
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
}
