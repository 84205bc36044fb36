// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gis_library.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

LoadedGisPlugin Load() {
    const QString exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString file = QString::fromLatin1(kGisPluginFile);
    QStringList tried;
    const QString installed = exeDir + QStringLiteral("/../" ORBIVIST_PLUGIN_DIR);
    for (const QString& dir : {exeDir, installed}) {
        const QString path = dir + QLatin1Char('/') + file;
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);
        using Entry = const GisPlugin* (*)();
        const auto entry = reinterpret_cast<Entry>(library.resolve(kGisPluginEntry));
        if (entry == nullptr) {
            tried << library.errorString();
            continue;
        }
        const GisPlugin* plugin = entry();
        if (plugin == nullptr || plugin->version != kGisPluginVersion) {
            tried << QStringLiteral("%1: built for another version of the program").arg(path);
            continue;
        }
        return {plugin, {}}; // QLibrary leaves it loaded when it goes
    }
    if (tried.isEmpty())
        tried << QStringLiteral("%1 is neither in %2 nor in %3").arg(file, exeDir, installed);
    return {nullptr, tried.join(QStringLiteral("; "))};
}

} // namespace

const LoadedGisPlugin& GisLibrary() {
    static const LoadedGisPlugin loaded = Load();
    return loaded;
}
