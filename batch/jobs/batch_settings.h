// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings every batch job reads, whoever holds them: the main window's controls or the
// settings file as the command line reads it.
#include "loader/view_tiles.h"
#include "store/settings.h"

struct BatchSettings {
    BatchRetry retry;            // attempts, pause after a failed attempt and the error limits
    bool scheduleDialog = false; // show the scheduling dialog before the job starts
    // The window's option to show the dialog also asks for the hang-up when a picture is too
    // large; a command's waiting or dialling does not, only its own --hang-up.
    bool scheduleOptionHangsUp = true;
};

// The retry and limit lines of the settings.
BatchRetry BatchRetryOf(const Settings& settings);
