// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/area_file.h"

#include "gis/gis_library.h"

#include <QCoreApplication>
#include <QFileInfo>

AreaFile ReadAreaFile(const QString& path, double bufferMetres) {
    // GDAL would wait on a pipe for ever and read a device without end; a folder may be a
    // dataset (of shapefiles).
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return {{},
                QCoreApplication::translate("AreaFile", "Файл области %1 не читается: %2")
                    .arg(path, QStringLiteral("not a regular file"))};
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr)
        return {{}, gis.error};
    return gis.plugin->readAreaFile(path, bufferMetres);
}
