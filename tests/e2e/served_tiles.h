// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the demo server was asked for and what it sent, for checking a client's counters and
// cache against it.
#include "tests/e2e/demo_server_process.h"
#include "tests/support/temp_dir.h"

#include "loader/tile_counters.h"
#include "tools/tileserver/rgb_image.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

// One tile request in the server's log: its key ("tqrs") and the fault word, "" when clean.
struct ServedTile {
    std::string key;
    std::string fault;
};

// The tile requests of the server's log, in order.
std::vector<ServedTile> ServedTiles(const DemoServerProcess& server);

// How many of faults are of this kind.
int InjectedCount(const std::vector<std::string>& faults, const char* kind);

// The error counters a tile loader must end with once the server injected faults: a 500,
// 404, empty body or dropped connection is a reply that never became a tile; a cut body is a
// bad file; a redirect is followed, so it fails nothing itself.
TileCounters CountersForFaults(const std::vector<std::string>& faults);

// What a fault-free server sends for the tile with these quadrant letters.
QByteArray CleanTile(const tileserver::RgbImage& world, const QString& quadPath);

// Expects every file of the cache to be byte for byte the clean tile for its name.
void ExpectOnlyCleanTilesIn(const TempDir& cache, const QString& worldPath);
