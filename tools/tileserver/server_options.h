// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The demo server's command line.
#include "tools/tileserver/demo_server_port.h"
#include "tools/tileserver/world_image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tileserver {

struct ServerOptions {
    std::string imagePath = kDefaultWorldImagePath;
    int port = kDemoServerPort; // 0: any free port
    double faultRate = 0;       // share of tile replies spoiled on purpose, 0 to 1
    std::uint64_t seed = 0;
    int delayMs = 0;    // before every reply
    long parentPid = 0; // when not 0, the server stops once this process (its parent) ends
    bool help = false;
    bool version = false;
};

// Reads the words after the program name. On a bad word returns nothing and sets error.
std::optional<ServerOptions> ParseServerOptions(std::span<const std::string_view> args,
                                                std::string& error);

// The --help text.
std::string UsageText();

} // namespace tileserver
