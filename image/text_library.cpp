// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/text_library.h"

#include "os/program_plugin.h"

namespace {

using Entry = const TextPlugin* (*)();

const TextPlugin* Load() {
    const PluginEntry found = FindPluginEntry(
        QString::fromLatin1(kTextPluginFile), kTextPluginEntry, [](QFunctionPointer entry) {
            const TextPlugin* plugin = reinterpret_cast<Entry>(entry)();
            return plugin != nullptr && plugin->version == kTextPluginVersion;
        });
    return found.entry == nullptr ? nullptr : reinterpret_cast<Entry>(found.entry)();
}

} // namespace

const TextPlugin* TextLibrary() {
    static const TextPlugin* const loaded = Load();
    return loaded;
}

std::unique_ptr<QCoreApplication> StartTextApplication(int& argc, char** argv) {
    const TextPlugin* plugin = TextLibrary();
    if (plugin == nullptr)
        return nullptr;
    return std::unique_ptr<QCoreApplication>(plugin->startApplication(argc, argv));
}

bool TextCanBeDrawn() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && app->inherits("QGuiApplication");
}
