// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/server_options.h"

#include "os/integer_text.h"
#include "tiles/tile_key.h"

#include <charconv>

namespace tileserver {

namespace {

// A delay beyond ten minutes is surely a typo, and would outlast any client's patience.
constexpr int kMaxDelayMs = 600'000;

template <typename Int> bool ReadInteger(std::string_view text, Int& value) {
    const std::optional<Int> read = ParseInteger<Int>(text);
    if (read)
        value = *read;
    return read.has_value();
}

bool ReadFraction(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, value);
    return problem == std::errc{} && stop == end && !text.empty();
}

} // namespace

std::optional<ServerOptions> ParseServerOptions(std::span<const std::string_view> args,
                                                std::string& error) {
    ServerOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = name.starts_with("--") ? std::string(name) + " needs a value"
                                           : "unknown argument " + std::string(name);
            return std::nullopt;
        }
        const std::string_view value = args[++i];
        bool good = true;
        if (name == "--image") {
            options.imagePath = std::string(value);
            good = !value.empty();
        } else if (name == "--port") {
            good = ReadInteger(value, options.port) && options.port >= 0 && options.port <= 65535;
        } else if (name == "--fault-rate") {
            // Written so that NaN fails too.
            good = ReadFraction(value, options.faultRate) && options.faultRate >= 0 &&
                   options.faultRate <= 1;
        } else if (name == "--seed") {
            good = ReadInteger(value, options.seed);
        } else if (name == "--parent") {
            good = ReadInteger(value, options.parentPid) && options.parentPid > 0;
        } else if (name == "--delay-ms") {
            good = ReadInteger(value, options.delayMs) && options.delayMs >= 0 &&
                   options.delayMs <= kMaxDelayMs;
        } else {
            error = "unknown argument " + std::string(name);
            return std::nullopt;
        }
        if (!good) {
            error = "bad value for " + std::string(name) + ": " + std::string(value);
            return std::nullopt;
        }
    }
    return options;
}

std::string UsageText() {
    return "usage: orbivist-tileserver [options]\n"
           "Serves 256x256 Mercator JPEG tiles at GET /kh?v=5&n=404&t=<key> on 127.0.0.1,\n"
           "rendered from an equirectangular world picture. <key> is 't' followed by one of\n"
           "q r s t (top-left, top-right, bottom-right, bottom-left) per level, " +
           std::to_string(kLowestLevel) + " to " + std::to_string(kHighestLevel) +
           ".\n"
           "The same tiles are served at GET /{z}/{x}/{y}.jpg and .png (rows from the north,\n"
           "levels 0 to " +
           std::to_string(kHighestLevel) +
           "). Connections are served at once, each on a thread of its own.\n"
           "\n"
           "  --image FILE      world picture (JPEG), default " +
           std::string(kDefaultWorldImagePath) +
           "\n"
           "  --port N          port to listen on, default " +
           std::to_string(kDemoServerPort) +
           "; 0 picks a free one\n"
           "  --fault-rate P    spoil this share (0 to 1) of tile replies: 500, 404, empty\n"
           "                    body, cut body, dropped connection or redirect; default 0\n"
           "  --seed S          seed of the fault choice (reproducible per request order)\n"
           "  --delay-ms N      wait N milliseconds before every reply, at most 600000;\n"
           "                    one reply's wait never holds another\n"
           "  --parent PID      stop when process PID, the one that started the server, ends\n"
           "  --help            show this text\n"
           "  --version         print the version\n"
           "\n"
           "Prints \"listening on 127.0.0.1:PORT\" once ready, logs one line per request\n"
           "(with open=N, the requests not yet answered as it was, itself included)\n"
           "to stderr and stops cleanly on SIGINT or SIGTERM.\n";
}

} // namespace tileserver
