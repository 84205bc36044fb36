// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's progress report: how far, how fast, how long still, and what failed.
#include "loader/tile_counters.h"

#include <QString>
#include <cstdint>

// "Закачано 120 из 256 (46%), 12,5 фрагм./с, осталось 0:00:11; ошибок: получения 0, jpeg 0,
// записи 0": the tiles in hand (obtained, or already cached and passed over) of the maximum,
// the rate of those obtained, and the time left from the position. The rate and the time left are
// left out until a tile has been done. The decimal separator is the run's language's.
QString ProgressLine(std::int64_t position, std::int64_t maximum, double elapsedSeconds,
                     const TileCounters& counters);
