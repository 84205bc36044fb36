// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/export_format.h"

#include <QFileInfo>
#include <array>

namespace {

struct Named {
    ExportFormat format;
    const char* suffix;
    const char* name; // in the save dialog, as the apps that read it call it
};
constexpr std::array<Named, 6> kFormats{{
    {ExportFormat::Mbtiles, "mbtiles", "MBTiles"},
    {ExportFormat::Kmz, "kmz", "KMZ"},
    {ExportFormat::GeoPackage, "gpkg", "GeoPackage"},
    {ExportFormat::Sqlitedb, "sqlitedb", "OsmAnd / Locus"},
    {ExportFormat::Orux, "orux", "OruxMaps"},
    {ExportFormat::Pmtiles, "pmtiles", "PMTiles"},
}};

} // namespace

std::optional<ExportFormat> ExportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(WithoutTrailingSlashes(path)).suffix().toLower();
    for (const Named& named : kFormats)
        if (suffix == QLatin1String(named.suffix))
            return named.format;
    return std::nullopt;
}

QString WithoutTrailingSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QStringList ExportFormatFilters() {
    QStringList filters;
    for (const Named& named : kFormats)
        filters.append(QStringLiteral("%1 (*.%2)")
                           .arg(QLatin1String(named.name), QLatin1String(named.suffix)));
    return filters;
}
