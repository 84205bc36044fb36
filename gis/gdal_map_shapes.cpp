// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_backends.h"
#include "gis/gdal_features.h"
#include "gis/gdal_session.h"

#include <QCoreApplication>

#include <memory>

namespace {

void Collect(const OGRGeometry& geometry, MapShapes& shapes) {
    if (geometry.IsEmpty())
        return;
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        for (const OGRGeometry* part : *geometry.toGeometryCollection())
            Collect(*part, shapes);
    } else if (OGR_GT_IsSurface(type) || OGR_GT_IsCurve(type)) {
        // Arcs and curved polygons as the straight pieces GDAL approximates them with.
        const std::unique_ptr<OGRGeometry> linear(geometry.getLinearGeometry());
        if (!linear || linear->IsEmpty())
            return;
        if (wkbFlatten(linear->getGeometryType()) == wkbPolygon)
            shapes.areas.push_back(PolygonOf(*linear->toPolygon()));
        else if (wkbFlatten(linear->getGeometryType()) == wkbLineString)
            shapes.lines.push_back(PointsOf(*linear->toLineString()));
        else
            Collect(*linear, shapes);
    } else if (type == wkbPoint) {
        shapes.points.push_back({geometry.toPoint()->getX(), geometry.toPoint()->getY()});
    }
}

} // namespace

MapShapes ReadMapShapesWithGdal(const QString& path) {
    GdalSession gdal;
    MapShapes shapes;
    QString error;
    if (!ForEachGeometry(
            path, [&](const OGRGeometry& geometry) { Collect(geometry, shapes); }, &error)) {
        shapes.error =
            QCoreApplication::translate("MapShapes", "Файл %1 не читается: %2").arg(path, error);
    } else if (shapes.lines.empty() && shapes.areas.empty() && shapes.points.empty()) {
        shapes.error = QCoreApplication::translate("MapShapes",
                                                   "В файле %1 нет ни линий, ни областей, ни точек")
                           .arg(path);
    }
    return shapes;
}
