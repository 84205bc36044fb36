// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The GDAL plugin, loaded once on first use and kept for the rest of the run (GDAL is not
// made to be unloaded). It is looked for beside the executable (the build directory) and in
// the plugin folder below its prefix, lib/<architecture>/orbivist (an installed program).
#include "gis/gis_backends.h"

struct LoadedGisPlugin {
    const GisPlugin* plugin = nullptr; // nothing when it could not be loaded
    QString error;                     // then why, in the loader's words
};

const LoadedGisPlugin& GisLibrary();
