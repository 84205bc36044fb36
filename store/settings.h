// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file as plain data: what the main window applies to its controls and what the
// command line uses as it is. Numbers are clamped to their spinner's range, as the controls
// would clamp them.
#include "store/settings_file.h"
#include "store/settings_view.h"
#include "tiles/tile_key.h"
#include "tiles/work_mode.h"

#include <QString>
#include <array>

// Every member is one line of the file (see SettingsSchema()). A Settings built here is
// empty; DesignSettings() gives the values the window starts with when no file sets them.
struct Settings {
    // How many lines the file had: the window applies the lines in order and stops at the
    // first missing one, so a short file leaves the rest of the controls as they were.
    int linesPresent = 0;

    SettingsView view; // the defaults unless the file's view is usable
    // The three work-mode lines as written: cache only, internet only, both.
    std::array<bool, 3> modeLines{};
    bool scheduleDialog = false;

    bool useProxy = false;
    QString proxyServer;
    QString proxyPort;
    QString proxyUser;
    QString proxyPassword;

    int latHemisphere = 0; // combo box indices, -1 for no selection
    int lonHemisphere = 0;
    bool markPoint = false;
    int searchZoom = 0;

    QString stitchColumns; // as typed; the job reads them itself
    QString stitchRows;
    int jpegQuality = 0;
    QString prefillLevel;

    int fetchAttempts = 0;
    int writeErrorLimit = 0;
    int receiveErrorLimit = 0;
    int badFileErrorLimit = 0;
    int retryInterval = 0; // seconds

    QString sourceName; // the line after the layout, written only for a source other than the demo
    // The window's size, the line after the source; 0 by 0 for the starting size.
    int windowWidth = 0;
    int windowHeight = 0;
    // Days after which the view refreshes cached tiles of a template source; 0 for never.
    int refreshDays = 0;

    QString cacheDirectory;
    bool useCacheDirectory = false;

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The spinners' ranges, shared by the window's controls and the reader.
struct SpinRange {
    int min;
    int max;
    bool Holds(int value) const { return value >= min && value <= max; }
};
namespace SettingsRange {
inline constexpr SpinRange JpegQuality{20, 100};
inline constexpr SpinRange FetchAttempts{1, 10};
inline constexpr SpinRange RetryInterval{1, 60};
inline constexpr SpinRange WriteErrorLimit{1, 50};
inline constexpr SpinRange ReceiveErrorLimit{1, 500};
inline constexpr SpinRange BadFileErrorLimit{1, 500};
// The search zoom box's levels; its item index is the level less this range's min.
inline constexpr SpinRange SearchLevel{kLowestLevel, kHighestLevel};
// The scheduling dialog's wait before a job.
inline constexpr SpinRange DelayHours{0, 100};
inline constexpr SpinRange DelayMinutes{0, 60};
inline constexpr SpinRange RefreshDays{0, 3650};
} // namespace SettingsRange

// Never fails: a missing or unreadable file gives the design-time settings.
Settings ReadSettings(const QString& path);

// The work mode the radio buttons end up in when the mode lines are applied in order to the
// design-time choice (both): a line that is on selects its mode, a line that is off clears it
// when it was the selected one, and with none selected the loader works with both.
WorkMode WorkModeOf(const Settings& settings);

// The tile cache: the chosen directory when its use is on and it is named, else the default.
QString CacheRootFor(bool useDirectory, const QString& directory, const QString& defaultRoot);
inline QString CacheRootOf(const Settings& settings, const QString& defaultCacheRoot) {
    return CacheRootFor(settings.useCacheDirectory, settings.cacheDirectory, defaultCacheRoot);
}
