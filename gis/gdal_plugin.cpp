// SPDX-License-Identifier: GPL-3.0-or-later
// The entry of the GDAL plugin: everything else in it stays hidden.
#include "gis/gdal_backends.h"

extern "C" __attribute__((visibility("default"))) const GisPlugin* orbivist_gis_plugin() {
    static const GisPlugin plugin{kGisPluginVersion, ReadAreaFileWithGdal, MakeGdalGeoTiffWriter,
                                  MakeGdalZipFile, ReadMapShapesWithGdal};
    return &plugin;
}
