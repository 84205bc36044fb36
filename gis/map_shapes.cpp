// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/map_shapes.h"

#include "gis/gis_library.h"

#include <QCoreApplication>
#include <QFileInfo>

MapShapes ReadMapShapes(const QString& path) {
    MapShapes shapes;
    // GDAL would wait on a pipe for ever and read a device without end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        shapes.error = QCoreApplication::translate("MapShapes", "Файл %1 не читается: %2")
                           .arg(path, QStringLiteral("not a regular file"));
        return shapes;
    }
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr) {
        shapes.error = gis.error;
        return shapes;
    }
    return gis.plugin->readMapShapes(path);
}
