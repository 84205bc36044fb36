// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The demo server's usual port. The program's default tile source points at the same
// number (kDefaultTileServerPort in tiles/default_source.h); the server keeps its own copy
// so it needs no Qt, and a test keeps the two equal.

namespace tileserver {

inline constexpr int kDemoServerPort = 47321;

} // namespace tileserver
