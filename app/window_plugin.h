// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window and its dialogs form a plugin of their own, orbivist-window.so, the only part of
// the program that maps Qt Widgets: the batch commands, --version and --help never load it.
// It takes the program's other code from the executable that opens it, so both must come from
// the same build.
#include "orbivist_version.h"

struct WindowPlugin {
    const char* version; // kOrbivistVersion of the build that made it
    // Runs the window until it closes, with main's arguments; the exit status.
    int (*run)(int argc, char** argv);
};

inline constexpr char kWindowPluginEntry[] = "orbivist_window_plugin";
inline constexpr char kWindowPluginFile[] = "orbivist-window.so";

// Opens the plugin and runs the window; a plugin that cannot be had is said on stderr.
int RunWindow(int argc, char** argv);
