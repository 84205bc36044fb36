// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own plugins (the GDAL one, the window): libraries opened when first needed, so
// that a run which never needs them never maps their libraries. Each is looked for beside the
// executable (the build directory), then in the plugin folder below its prefix,
// lib/<architecture>/orbivist (an installed program).
#include <QString>
#include <functional>

struct PluginEntry {
    QFunctionPointer entry = nullptr; // nothing when no copy of the plugin would do
    QString error;                    // then why, in the loader's words
};

// The entry function named entryName of the first copy of the plugin file that has it and
// that fits (asked of the entry); that copy stays loaded for the rest of the run.
PluginEntry FindPluginEntry(const QString& file, const char* entryName,
                            const std::function<bool(QFunctionPointer)>& fits);
