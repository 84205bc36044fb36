#include "store/settings.h"

#include "store/settings_schema.h"

#include <optional>

Settings ReadSettings(const QString& path) {
    return SettingsFromFile(LoadSettings(path));
}

WorkMode WorkModeOf(const Settings& settings) {
    constexpr std::array<WorkMode, 3> kModes{WorkMode::CacheOnly, WorkMode::InternetOnly,
                                             WorkMode::CacheAndInternet};
    std::optional<int> selected = 2; // the design-time choice
    for (int i = 0; i < 3 && i < settings.linesPresent - SettingsLine::ModeCacheOnly; ++i) {
        if (settings.modeLines[i])
            selected = i;
        else if (selected == i)
            selected.reset();
    }
    return selected ? kModes[*selected] : WorkMode::CacheAndInternet;
}

QString CacheRootFor(bool useDirectory, const QString& directory, const QString& defaultRoot) {
    // An empty field would make the file system's root the cache, where damaged "tiles"
    // get deleted; the default cache serves until a directory is named.
    if (!useDirectory || directory.trimmed().isEmpty())
        return defaultRoot;
    return directory + '/';
}
