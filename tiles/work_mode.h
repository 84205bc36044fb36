// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the tile loader may take tiles from.
enum class WorkMode { CacheOnly, InternetOnly, CacheAndInternet };
