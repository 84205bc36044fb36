// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How fast a source may be asked: requests per second across all its connections and bytes
// per second, as the sources file gives them and the command line lowers them for one run;
// and how long its tiles stay fresh when its server does not say.
#include "sources/source_definition.h"

#include <QString>
#include <optional>

inline constexpr double kMostRate = 1000;
inline constexpr qint64 kMostBandwidth = qint64{1} << 30;

// "5" or "0.5": requests per second, more than 0 and at most kMostRate.
std::optional<double> RateOfText(const QString& text);
// "200000", "500k" or "2M" (k and M are 1024 and 1024 * 1024): bytes per second, from 1 to
// kMostBandwidth.
std::optional<qint64> BandwidthOfText(const QString& text);

// "3600", "90m", "12h" or "7d" (seconds, minutes, hours, days): seconds from 0 to ten years.
std::optional<qint64> MaxAgeOfText(const QString& text);

// source with its limits lowered to rate and bandwidth where those are lower (a source
// without a limit takes the one given); nothing given changes nothing.
SourceDefinition WithLowerPace(SourceDefinition source, std::optional<double> rate,
                               std::optional<qint64> bandwidth);
