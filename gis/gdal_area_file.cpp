// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_backends.h"

#include "gis/gdal_features.h"
#include "gis/gdal_session.h"

#include <QCoreApplication>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <memory>

namespace {

using Geometry = std::unique_ptr<OGRGeometry>;

// A piece of a line is buffered in a projection centred on it; within this many degrees of
// the centre its distances are true to a few centimetres per kilometre.
constexpr double kPieceDegrees = 1.0;
// The straight edges of a buffer in the local projection are cut to this length before they
// go back to degrees, so that the edges between degrees stay on the ground's outline.
constexpr double kEdgeMetres = 1000;

// An azimuthal equidistant projection on the WGS 84 ellipsoid centred on the point: its
// metres are ground metres near the centre.
class LocalProjection {
public:
    LocalProjection(const OGRSpatialReference& wgs84, double longitude, double latitude) {
        local_.SetWellKnownGeogCS("WGS84");
        local_.SetAE(latitude, longitude, 0, 0);
        toLocal_.reset(OGRCreateCoordinateTransformation(&wgs84, &local_));
        toDegrees_.reset(OGRCreateCoordinateTransformation(&local_, &wgs84));
    }

    bool Valid() const { return toLocal_ && toDegrees_; }
    bool ToLocal(OGRGeometry& geometry) const {
        return geometry.transform(toLocal_.get()) == OGRERR_NONE;
    }

    // Back to degrees, split at the 180th meridian where the geometry crosses it.
    Geometry ToDegrees(OGRGeometry& geometry) const {
        geometry.segmentize(kEdgeMetres);
        const char* options[] = {"WRAPDATELINE=YES", nullptr};
        return Geometry(OGRGeometryFactory::transformWithOptions(&geometry, toDegrees_.get(),
                                                                 const_cast<char**>(options)));
    }

private:
    OGRSpatialReference local_;
    std::unique_ptr<OGRCoordinateTransformation> toLocal_;
    std::unique_ptr<OGRCoordinateTransformation> toDegrees_;
};

class AreaBuilder {
public:
    explicit AreaBuilder(double bufferMetres) : buffer_(bufferMetres), wgs84_(Wgs84()) {}

    // geometry is in WGS 84 degrees, longitude first.
    void Add(const OGRGeometry& geometry) {
        const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
        if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
            for (const OGRGeometry* part : *geometry.toGeometryCollection())
                Add(*part);
        } else if (OGR_GT_IsSurface(type)) {
            AddArea(Geometry(geometry.getLinearGeometry()));
        } else if (OGR_GT_IsCurve(type)) {
            AddLine(Geometry(geometry.getLinearGeometry()));
        } else if (type == wkbPoint) {
            AddPoint(*geometry.toPoint());
        }
    }

    std::vector<GeoPolygon> Union() const {
        std::vector<GeoPolygon> polygons;
        if (parts_.IsEmpty())
            return polygons;
        const Geometry merged(parts_.UnionCascaded());
        if (merged)
            Collect(*merged, polygons);
        return polygons;
    }

private:
    void AddArea(Geometry area) {
        if (!area)
            return;
        area->flattenTo2D();
        if (!area->IsValid())
            area.reset(area->MakeValid());
        if (area)
            KeepPolygons(*area);
    }

    void KeepPolygons(const OGRGeometry& geometry) {
        const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
        if (type == wkbPolygon && !geometry.IsEmpty())
            parts_.addGeometry(&geometry);
        else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection))
            for (const OGRGeometry* part : *geometry.toGeometryCollection())
                KeepPolygons(*part);
    }

    // Pieces of at most kPieceDegrees from their first vertex, each buffered around its own
    // centre; consecutive pieces share a vertex, so the corridor has no gap.
    void AddLine(Geometry line) {
        if (!line || wkbFlatten(line->getGeometryType()) != wkbLineString)
            return;
        const OGRLineString& points = *line->toLineString();
        const int count = points.getNumPoints();
        if (count == 1) {
            OGRPoint alone;
            points.getPoint(0, &alone);
            AddPoint(alone);
            return;
        }
        int start = 0;
        while (start < count) {
            int end = start + 1;
            while (end < count &&
                   std::abs(points.getX(end) - points.getX(start)) <= kPieceDegrees &&
                   std::abs(points.getY(end) - points.getY(start)) <= kPieceDegrees)
                ++end;
            end = std::max(end, start + 2); // at least one edge
            OGRLineString piece;
            piece.addSubLineString(&points, start, end - 1);
            AddBuffered(piece);
            if (end >= count)
                break;
            start = end - 1;
        }
    }

    void AddBuffered(const OGRGeometry& piece) {
        OGREnvelope box;
        piece.getEnvelope(&box);
        const LocalProjection local(wgs84_, (box.MinX + box.MaxX) / 2, (box.MinY + box.MaxY) / 2);
        Geometry projected(piece.clone());
        if (!local.Valid() || !local.ToLocal(*projected))
            return;
        Geometry corridor(projected->Buffer(buffer_, 8));
        if (corridor)
            AddArea(local.ToDegrees(*corridor));
    }

    void AddPoint(const OGRPoint& point) {
        const LocalProjection local(wgs84_, point.getX(), point.getY());
        if (!local.Valid())
            return;
        OGRLinearRing ring;
        ring.addPoint(-buffer_, -buffer_);
        ring.addPoint(buffer_, -buffer_);
        ring.addPoint(buffer_, buffer_);
        ring.addPoint(-buffer_, buffer_);
        ring.closeRings();
        OGRPolygon square;
        square.addRing(&ring);
        AddArea(local.ToDegrees(square));
    }

    static void Collect(const OGRGeometry& geometry, std::vector<GeoPolygon>& polygons) {
        const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
        if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
            for (const OGRGeometry* part : *geometry.toGeometryCollection())
                Collect(*part, polygons);
            return;
        }
        if (type != wkbPolygon || geometry.IsEmpty())
            return;
        polygons.push_back(PolygonOf(*geometry.toPolygon()));
    }

    double buffer_;
    OGRSpatialReference wgs84_;
    OGRMultiPolygon parts_;
};

} // namespace

AreaFile ReadAreaFileWithGdal(const QString& path, double bufferMetres) {
    GdalSession gdal;
    AreaBuilder builder(bufferMetres);
    QString error;
    if (!ForEachGeometry(
            path, [&](const OGRGeometry& geometry) { builder.Add(geometry); }, &error))
        return {{},
                QCoreApplication::translate("AreaFile", "Файл области %1 не читается: %2")
                    .arg(path, error)};
    AreaFile area{builder.Union(), {}};
    if (area.polygons.empty())
        area.error = QCoreApplication::translate(
                         "AreaFile", "В файле области %1 нет ни областей, ни линий, ни точек")
                         .arg(path);
    return area;
}
