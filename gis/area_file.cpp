#include "gis/area_file.h"

#include "gis/gis_library.h"

AreaFile ReadAreaFile(const QString& path, double bufferMetres) {
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr)
        return {{}, gis.error};
    return gis.plugin->readAreaFile(path, bufferMetres);
}
