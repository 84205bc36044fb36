// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a region is exported to, chosen by the output's name.
#include <QString>
#include <QStringList>
#include <optional>

enum class ExportFormat { Mbtiles, Kmz, GeoPackage, Sqlitedb, Orux, Pmtiles };

// The format of a name ending in ".mbtiles", ".kmz", ".gpkg", ".sqlitedb", ".orux" or
// ".pmtiles" (in any case); nothing for any other name, which no reader of any would take.
std::optional<ExportFormat> ExportFormatOf(const QString& path);

// The path without the slashes a folder's name may end in ("spb.orux/").
QString WithoutTrailingSlashes(QString path);

// The save dialog's filters, one per format, each its name as users know it with its
// pattern ("GeoPackage (*.gpkg)"), MBTiles first.
QStringList ExportFormatFilters();
