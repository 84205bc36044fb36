// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The world file, projection file and GDAL's auxiliary file beside a stitched JPEG: `area.jgw`
// places the pixels on the Web Mercator plane exactly (the tiles are square cells of it), and
// `area.prj` names that plane, EPSG:3857. GIS programs read the pair where the OziExplorer map
// file, which ties a few points to latitudes and longitudes, would place the picture only
// approximately.
#include "tiles/tile_block.h"

#include <QByteArray>
#include <QString>
#include <array>

// The picture's path with its extension (if any) replaced by the given one ("jgw", "prj").
QString WithExtension(const QString& picturePath, const QString& extension);

// The six lines of the world file: pixel width, two rotations, negative pixel height and
// the centre of the top-left pixel, in metres.
QByteArray WorldFileText(const TileBlock& block);

// The three files beside the picture, with their contents: the world file (".jgw"), the
// projection file (".prj") and GDAL's auxiliary file ("area.jpg.aux.xml", which names the
// CRS for GDAL and QGIS). A picture whose own name would be taken (area.jgw) keeps it: the
// world files then add their extension instead (area.jgw.jgw).
std::array<QString, 3> WorldFilePaths(const QString& picturePath);
struct BesideFile {
    QString path;
    QByteArray text;
};
std::array<BesideFile, 3> WorldFiles(const QString& picturePath, const TileBlock& block);
