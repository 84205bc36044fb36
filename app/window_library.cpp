// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_plugin.h"

#include "os/program_plugin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int RunWindow(int argc, char** argv) {
    using Entry = const WindowPlugin* (*)();
    const PluginEntry found = FindPluginEntry(
        QString::fromLatin1(kWindowPluginFile), kWindowPluginEntry, [](QFunctionPointer entry) {
            const WindowPlugin* plugin = reinterpret_cast<Entry>(entry)();
            return plugin != nullptr && std::strcmp(plugin->version, kOrbivistVersion) == 0;
        });
    if (found.entry == nullptr) {
        std::fprintf(stderr, "orbivist: %s\n", found.error.toUtf8().constData());
        return EXIT_FAILURE;
    }
    return reinterpret_cast<Entry>(found.entry)()->run(argc, argv);
}
