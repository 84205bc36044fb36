// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of the settings file ORB.ini: 29 lines whose position alone says what each holds.
#include <QString>
#include <QStringView>
#include <array>

inline constexpr QStringView kSettingsFileName = u"ORB.ini";
inline constexpr int kSettingsLineCount = 29;

// Line numbers, in file order.
namespace SettingsLine {
enum : int {
    ViewTopLeft,          // ViewUrls slot 0 (Image1)
    ViewTopRight,         // slot 1 (Image2)
    ViewBottomRight,      // slot 2 (Image3)
    ViewBottomLeft,       // slot 3 (Image4)
    ModeCacheOnly,        // RadioButton1
    ModeInternetOnly,     // RadioButton2
    ModeCacheAndInternet, // RadioButton3
    ScheduleDialog,       // CheckBox1: timer and connection dialog before a batch job
    UseProxy,             // CheckBox2
    ProxyServer,          // Edit5
    ProxyPort,            // Edit6, as typed
    ProxyUser,            // Edit8
    ProxyPassword,        // Edit9, in plain text
    PrefixLength,         // PrefixLength
    LatHemisphere,        // SCB item index
    LonHemisphere,        // DCB item index
    MarkPoint,            // CheckBox3
    SearchZoom,           // FCB item index
    StitchColumns,        // Edit1
    StitchRows,           // Edit2
    JpegQuality,          // UpDown3
    PrefillLevel,         // Edit3
    FetchAttempts,        // UpDown1
    WriteErrorLimit,      // UpDown2
    ReceiveErrorLimit,    // UpDown4
    BadFileErrorLimit,    // UpDown5
    CacheDirectory,       // Edit16
    UseCacheDirectory,    // CheckBox4
    RetryInterval,        // UpDown6, seconds
    // Added after the layout, so that older versions read the file as they always did: a file
    // without the line means the demo source.
    SourceName = kSettingsLineCount, // the imagery source chosen on the settings tab
    // The main window's size as "WIDTHxHEIGHT", only when the user left it other than the
    // starting size; the source line is then written too, "demo" for the demo source.
    WindowSize,
    // Whole days after which the window's view asks the server again about a cached tile of a
    // template source, only when not 0; the source and size lines are then written too, the
    // size line empty for the starting size.
    RefreshDays,
};
} // namespace SettingsLine
