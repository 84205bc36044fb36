// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/program_plugin.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

PluginEntry FindPluginEntry(const QString& file, const char* entryName,
                            const std::function<bool(QFunctionPointer)>& fits) {
    const QString exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString installed = exeDir + QStringLiteral("/../" ORBIVIST_PLUGIN_DIR);
    QStringList tried;
    for (const QString& dir : {exeDir, installed}) {
        const QString path = dir + QLatin1Char('/') + file;
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);
        const QFunctionPointer entry = library.resolve(entryName);
        if (entry == nullptr) {
            tried << library.errorString();
            continue;
        }
        if (!fits(entry)) {
            tried << QStringLiteral("%1: built for another version of the program").arg(path);
            continue;
        }
        return {entry, {}}; // QLibrary leaves it loaded when it goes
    }
    if (tried.isEmpty())
        tried << QStringLiteral("%1 is neither in %2 nor in %3").arg(file, exeDir, installed);
    return {nullptr, tried.join(QStringLiteral("; "))};
}
