// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings.h"

#include "store/settings_schema.h"

#include <array>

Settings ReadSettings(const QString& path) {
    return SettingsFromFile(LoadSettings(path));
}

WorkMode WorkModeOf(const Settings& settings) {
    constexpr std::array<WorkMode, 3> kModes{WorkMode::CacheOnly, WorkMode::InternetOnly,
                                             WorkMode::CacheAndInternet};
    constexpr int kNone = -1;
    int selected = 2; // the design-time choice
    for (int i = 0; i < 3 && i < settings.linesPresent - SettingsLine::ModeCacheOnly; ++i) {
        if (settings.modeLines[i])
            selected = i;
        else if (selected == i)
            selected = kNone;
    }
    return selected == kNone ? WorkMode::CacheAndInternet : kModes[selected];
}

QString CacheRootFor(bool useDirectory, const QString& directory, const QString& defaultRoot) {
    // An empty field would make the file system's root the cache, where damaged "tiles"
    // get deleted; the default cache serves until a directory is named.
    if (!useDirectory || directory.trimmed().isEmpty())
        return defaultRoot;
    return directory + '/';
}
