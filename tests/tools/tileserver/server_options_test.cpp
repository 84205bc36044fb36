// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/server_options.h"

#include "tiles/default_source.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tileserver;

TEST(ServerOptions, DefaultPortIsWhereTheProgramLooks) {
    EXPECT_EQ(kDemoServerPort, kDefaultTileServerPort);
}

TEST(ServerOptions, RejectsValuesOutOfRangeOrNotNumbers) {
    const std::vector<std::vector<std::string_view>> bad{
        {"--port", "65536"},     {"--port", "-1"},        {"--port", "80a"},
        {"--fault-rate", "1.5"}, {"--fault-rate", "nan"}, {"--seed", "-3"},
        {"--delay-ms", "-5"},    {"--image", ""},         {"--port"},
        {"--parent", "0"},       {"--parent", "x"},       {"--colour", "blue"}};
    for (const std::vector<std::string_view>& args : bad) {
        std::string error;
        EXPECT_FALSE(ParseServerOptions(args, error)) << args.front();
        EXPECT_FALSE(error.empty()) << args.front();
    }
    std::string error;
    const std::vector<std::string_view> good{"--port", "0", "--fault-rate", "1",
                                             "--seed", "9", "--parent",     "4242"};
    const std::optional<ServerOptions> options = ParseServerOptions(good, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->parentPid, 4242);
}
