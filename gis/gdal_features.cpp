// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_features.h"

#include "gis/gdal_session.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <memory>

namespace {

// GPX files repeat every vertex of their tracks and routes as features of these layers.
bool IsGpxVertexLayer(GDALDataset& dataset, OGRLayer& layer) {
    const std::string name = layer.GetName();
    return EQUAL(dataset.GetDriverName(), "GPX") &&
           (name == "track_points" || name == "route_points");
}

} // namespace

OGRSpatialReference Wgs84() {
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return wgs84;
}

bool ForEachGeometry(const QString& path, const std::function<void(const OGRGeometry&)>& each,
                     QString* error) {
    const QByteArray name = path.toUtf8();
    GDALDatasetUniquePtr dataset(
        GDALDataset::Open(name.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset) {
        *error = GdalSession::LastError();
        return false;
    }
    const OGRSpatialReference wgs84 = Wgs84();
    for (OGRLayer* layer : dataset->GetLayers()) {
        if (IsGpxVertexLayer(*dataset, *layer))
            continue;
        std::unique_ptr<OGRCoordinateTransformation> toDegrees;
        if (const OGRSpatialReference* own = layer->GetSpatialRef(); own && !own->IsSame(&wgs84))
            toDegrees.reset(OGRCreateCoordinateTransformation(own, &wgs84));
        for (const auto& feature : *layer) {
            const OGRGeometry* geometry = feature->GetGeometryRef();
            if (geometry == nullptr)
                continue;
            const std::unique_ptr<OGRGeometry> degrees(geometry->clone());
            if (toDegrees && degrees->transform(toDegrees.get()) != OGRERR_NONE)
                continue;
            each(*degrees);
        }
    }
    return true;
}

GeoRing PointsOf(const OGRSimpleCurve& line) {
    GeoRing points;
    points.reserve(static_cast<std::size_t>(line.getNumPoints()));
    for (int i = 0; i < line.getNumPoints(); ++i)
        points.push_back({line.getX(i), line.getY(i)});
    return points;
}

GeoPolygon PolygonOf(const OGRPolygon& polygon) {
    GeoPolygon out{PointsOf(*polygon.getExteriorRing()), {}};
    for (int i = 0; i < polygon.getNumInteriorRings(); ++i)
        out.holes.push_back(PointsOf(*polygon.getInteriorRing(i)));
    return out;
}
