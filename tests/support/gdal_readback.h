// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading written maps back with the tools a user's GIS relies on (gdalinfo, sqlite3, unzip).
#include "tiles/tile_block.h"
#include "tiles/tile_side.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// What program prints on its standard output.
inline QByteArray ProgramOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return process.readAllStandardOutput();
}

inline QJsonObject GdalInfo(const QString& path) {
    return QJsonDocument::fromJson(ProgramOutput("gdalinfo", {"-json", path})).object();
}

// The corners gdalinfo gives lie within a centimetre of the block's tiles.
inline void ExpectCornersOnBlock(const QJsonObject& info, const TileBlock& block) {
    const std::array<double, 6> t = BlockGeoTransform(block);
    const QJsonArray upperLeft = info["cornerCoordinates"]["upperLeft"].toArray();
    const QJsonArray lowerRight = info["cornerCoordinates"]["lowerRight"].toArray();
    EXPECT_NEAR(upperLeft[0].toDouble(), t[0], 0.01);
    EXPECT_NEAR(upperLeft[1].toDouble(), t[3], 0.01);
    EXPECT_NEAR(lowerRight[0].toDouble(), t[0] + double(block.columns * kTileSide) * t[1], 0.01);
    EXPECT_NEAR(lowerRight[1].toDouble(), t[3] + double(block.rows * kTileSide) * t[5], 0.01);
}

struct Overlay {
    QString href;
    double north = 0, south = 0, east = 0, west = 0;
};

// Each GroundOverlay's picture and LatLonBox, whose children KML orders as here.
inline QList<Overlay> Overlays(const QByteArray& kml) {
    static const QRegularExpression overlay(
        R"(<href>(.*?)</href>.*?<north>(.*?)</north>\s*<south>(.*?)</south>\s*)"
        R"(<east>(.*?)</east>\s*<west>(.*?)</west>)",
        QRegularExpression::DotMatchesEverythingOption);
    QList<Overlay> overlays;
    for (const QRegularExpressionMatch& m : overlay.globalMatch(QString::fromUtf8(kml)))
        overlays.append({m.captured(1), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), m.captured(5).toDouble()});
    return overlays;
}
