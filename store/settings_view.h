// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The view the program starts with: the one saved in the settings file when it makes sense.
#include "store/settings_file.h"
#include "tiles/view_urls.h"

struct SettingsView {
    ViewUrls urls;
    int prefixLength = 0;
    friend bool operator==(const SettingsView&, const SettingsView&) = default;
};

// The whole world at level 1 on the default request prefix.
SettingsView DefaultSettingsView();

// True when the four references share their first prefixLength characters and continue with
// the same number (at least one) of quadrant letters q, r, s, t. Every view the program can
// reach passes, at any depth (clicks zoom in without limit) and with any prefix, even an empty
// one; a hand-edited view that fails would send every later operation out of its text.
bool IsUsableView(const ViewUrls& urls, int prefixLength);

// The file's view and prefix length when the file is complete and they are usable; otherwise
// the defaults, so that the prefix and the tile references always agree.
SettingsView ViewFromSettings(const SettingsFile& file);
