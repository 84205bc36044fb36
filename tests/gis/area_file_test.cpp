// SPDX-License-Identifier: GPL-3.0-or-later
// Area files made with GDAL's own ogr2ogr, read back as the polygons of a region and checked
// with GDAL's geometry: which ground points lie inside.
#include "gis/area_file.h"

#include "tests/support/temp_dir.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include <cmath>

namespace {

// Degrees of longitude and latitude per ground metre on the WGS 84 ellipsoid at a latitude.
GeoPoint Offset(GeoPoint from, double eastMetres, double northMetres) {
    const double a = 6378137, e2 = 0.00669437999014;
    const double phi = from.latitude * M_PI / 180, s = std::sin(phi);
    const double n = a / std::sqrt(1 - e2 * s * s),
                 m = a * (1 - e2) / std::pow(1 - e2 * s * s, 1.5);
    return {from.longitude + eastMetres / (n * std::cos(phi)) * 180 / M_PI,
            from.latitude + northMetres / m * 180 / M_PI};
}

OGRLinearRing OgrRing(const GeoRing& points) {
    OGRLinearRing ring;
    for (const GeoPoint& p : points)
        ring.addPoint(p.longitude, p.latitude);
    ring.closeRings();
    return ring;
}

bool Inside(const std::vector<GeoPolygon>& polygons, GeoPoint point) {
    const OGRPoint probe(point.longitude, point.latitude);
    for (const GeoPolygon& polygon : polygons) {
        OGRPolygon ogr;
        OGRLinearRing outer = OgrRing(polygon.outer);
        ogr.addRing(&outer);
        for (const GeoRing& hole : polygon.holes) {
            OGRLinearRing inner = OgrRing(hole);
            ogr.addRing(&inner);
        }
        if (ogr.Contains(&probe))
            return true;
    }
    return false;
}

// The file written by ogr2ogr from a GeoJSON feature collection of these geometries.
QString Converted(const TempDir& dir, const QString& geometries, const QString& name,
                  const QStringList& options) {
    QString features;
    for (const QString& g : geometries.split('|'))
        features += QStringLiteral("%1{\"type\":\"Feature\",\"properties\":{},\"geometry\":%2}")
                        .arg(features.isEmpty() ? "" : ",", g);
    dir.write("in.geojson", QStringLiteral("{\"type\":\"FeatureCollection\",\"features\":[%1]}")
                                .arg(features)
                                .toUtf8());
    QProcess ogr2ogr;
    ogr2ogr.start("ogr2ogr", QStringList{} << options << dir.file(name) << dir.file("in.geojson"));
    EXPECT_TRUE(ogr2ogr.waitForFinished(60000));
    EXPECT_EQ(ogr2ogr.exitCode(), 0) << ogr2ogr.readAllStandardError().toStdString();
    return dir.file(name);
}

struct Probe {
    GeoPoint from;
    double east;
    double north;
    bool inside;
};

struct AreaCase {
    const char* name;
    QString geometries; // GeoJSON geometries, '|' between features
    QString file;
    QStringList options;
    double buffer;
    std::size_t polygons;
    std::vector<Probe> probes;
};

const GeoPoint kTrackMiddle{30.3, 59.95};

TEST(AreaFile, FeaturesBecomeAreasOnTheGround) {
    const QString track = "{\"type\":\"LineString\",\"coordinates\":[[30.3,59.5],[30.3,60.4]]}";
    const QString holed =
        "{\"type\":\"Polygon\",\"coordinates\":[[[10,40],[12,40],[12,42],[10,42],"
        "[10,40]],[[10.5,40.5],[11.5,40.5],[11.5,41.5],[10.5,41.5],[10.5,40.5]]]}";
    const QString bowTie =
        "{\"type\":\"Polygon\",\"coordinates\":[[[0,0],[2,2],[2,0],[0,2],[0,0]]]}";
    const QString point = "{\"type\":\"Point\",\"coordinates\":[-70.5,-33.4]}";
    const QStringList track3857 = {"-f", "ESRI Shapefile", "-t_srs", "EPSG:3857"};
    const AreaCase cases[] = {
        {"GPX track, 1 km corridor",
         track,
         "track.gpx",
         {"-f", "GPX", "-nlt", "MULTILINESTRING"},
         1000,
         1,
         {{kTrackMiddle, 990, 0, true},
          {kTrackMiddle, -990, 0, true},
          {kTrackMiddle, 1010, 0, false},
          {{30.3, 60.4}, 0, 990, true},
          {{30.3, 60.4}, 0, 1010, false}}},
        {"Shapefile in Web Mercator",
         track,
         "track.shp",
         track3857,
         500,
         1,
         {{kTrackMiddle, 495, 0, true}, {kTrackMiddle, 505, 0, false}}},
        {"KML polygon with a hole",
         holed,
         "park.kml",
         {"-f", "KML"},
         500,
         1,
         {{{10.2, 40.2}, 0, 0, true}, {{11, 41}, 0, 0, false}, {{9.99, 41}, 0, 0, false}}},
        {"KMZ", holed, "park.kmz", {"-f", "LIBKML"}, 500, 1, {{{11.8, 41.8}, 0, 0, true}}},
        {"self-intersecting polygon repaired",
         bowTie,
         "bow.geojson",
         {"-f", "GeoJSON"},
         500,
         2,
         {{{1.5, 1}, 0, 0, true}, {{0.3, 1}, 0, 0, true}, {{1, 0.3}, 0, 0, false}}},
        {"point as a square",
         point,
         "place.gpkg",
         {"-f", "GPKG"},
         2000,
         1,
         {{{-70.5, -33.4}, 1980, 1980, true}, {{-70.5, -33.4}, -2020, 0, false}}},
        {"overlapping features as one",
         point + "|" + point,
         "two.geojson",
         {"-f", "GeoJSON"},
         300,
         1,
         {{{-70.5, -33.4}, 290, -290, true}}},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const AreaFile area =
            ReadAreaFile(Converted(dir, c.geometries, c.file, c.options), c.buffer);
        EXPECT_TRUE(area.error.isEmpty()) << area.error.toStdString();
        EXPECT_EQ(area.polygons.size(), c.polygons);
        for (const Probe& probe : c.probes)
            EXPECT_EQ(Inside(area.polygons, Offset(probe.from, probe.east, probe.north)),
                      probe.inside)
                << probe.east << ' ' << probe.north;
    }
}

TEST(AreaFile, FilesWithoutAnAreaAreRefusedWithTheReason) {
    TempDir dir;
    dir.write("notes.gpx", "not a track at all");
    dir.write("empty.geojson",
              "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\","
              "\"properties\":{\"name\":\"x\"},\"geometry\":null}]}");
    for (const QString name : {"notes.gpx", "empty.geojson", "missing.kml"}) {
        const AreaFile area = ReadAreaFile(dir.file(name), 500);
        EXPECT_TRUE(area.polygons.empty());
        EXPECT_TRUE(area.error.contains(dir.file(name))) << area.error.toStdString();
    }
}

} // namespace
