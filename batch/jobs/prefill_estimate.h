// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The volume estimate shown before prefilling the cache down to a deeper level.
#include <QString>

struct PrefillEstimate {
    QString text;          // with the reason on a line of its own when the job cannot start
    bool canStart = false; // the depth lies below the current level, within the job's bounds
};

// depthText is the prefill depth as typed; level is the current view's level.
PrefillEstimate EstimatePrefill(const QString& depthText, int level);
