// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gis_library.h"

#include "os/program_plugin.h"

namespace {

using Entry = const GisPlugin* (*)();

LoadedGisPlugin Load() {
    const PluginEntry found = FindPluginEntry(
        QString::fromLatin1(kGisPluginFile), kGisPluginEntry, [](QFunctionPointer entry) {
            const GisPlugin* plugin = reinterpret_cast<Entry>(entry)();
            return plugin != nullptr && plugin->version == kGisPluginVersion;
        });
    if (found.entry == nullptr)
        return {nullptr, found.error};
    return {reinterpret_cast<Entry>(found.entry)(), {}};
}

} // namespace

const LoadedGisPlugin& GisLibrary() {
    static const LoadedGisPlugin loaded = Load();
    return loaded;
}
