// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference the network benchmarks set beside the program: one curl process.
#include <QString>
#include <QStringList>

// Seconds that one curl process takes to fetch urls into dir (which ends with '/'), with
// extraArgs added to its command line; -1 when curl failed.
double CurlSeconds(const QStringList& urls, const QString& dir, const QStringList& extraArgs = {});
