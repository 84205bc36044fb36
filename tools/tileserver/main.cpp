// SPDX-License-Identifier: GPL-3.0-or-later
// orbivist-tileserver: the demo tile server the program talks to out of the box.
#include "orbivist_version.h"
#include "os/stop_signals.h"
#include "tools/tileserver/server_options.h"
#include "tools/tileserver/tile_server.h"
#include "tools/tileserver/world_image.h"

#include <csignal>
#include <iostream>
#include <string_view>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    using namespace tileserver;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<ServerOptions> options = ParseServerOptions(args, error);
    if (!options) {
        std::cerr << "orbivist-tileserver: " << error << "\n\n" << UsageText();
        return 2;
    }
    if (options->help) {
        std::cout << UsageText();
        return 0;
    }
    if (options->version) {
        std::cout << "orbivist-tileserver " << kOrbivistVersion << '\n';
        return 0;
    }
    // Started by the viewer or a command: the server must not outlive it, however it ends.
    if (options->parentPid > 0 &&
        (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != options->parentPid))
        return 0;
    const std::optional<RgbImage> world = LoadWorldImage(options->imagePath, error);
    if (!world) {
        std::cerr << "orbivist-tileserver: " << error << '\n';
        return 1;
    }
    const StopSignals stop;
    if (!stop.Valid()) {
        std::cerr << "orbivist-tileserver: cannot watch SIGINT and SIGTERM\n";
        return 1;
    }
    TileServer server(*world, FaultPlan(options->faultRate, options->seed),
                      std::chrono::milliseconds(options->delayMs), std::cerr);
    if (const std::optional<std::string> problem = server.Listen(options->port)) {
        std::cerr << "orbivist-tileserver: " << *problem << '\n';
        return 1;
    }
    std::cerr << "world picture " << options->imagePath << ", " << world->width << 'x'
              << world->height << '\n';
    std::cout << "listening on 127.0.0.1:" << server.Port() << std::endl;
    server.Run(stop.Fd());
    std::cerr << "stopped\n";
    return 0;
}
