#include "tools/tileserver/server_options.h"

#include "fetch/default_source.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tileserver;

namespace {

std::optional<ServerOptions> Parse(std::vector<std::string_view> args) {
    std::string error;
    std::optional<ServerOptions> options = ParseServerOptions(args, error);
    EXPECT_EQ(options.has_value(), error.empty()) << error;
    return options;
}

} // namespace

TEST(ServerOptions, DefaultPortIsWhereTheProgramLooks) {
    EXPECT_EQ(kDemoServerPort, kDefaultTileServerPort);
    EXPECT_EQ(Parse({})->port, kDefaultTileServerPort);
}

TEST(ServerOptions, ReadsEveryOption) {
    const std::optional<ServerOptions> options =
        Parse({"--image", "w.jpg", "--port", "0", "--fault-rate", "0.25", "--seed",
               "18446744073709551615", "--delay-ms", "40"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->imagePath, "w.jpg");
    EXPECT_EQ(options->port, 0);
    EXPECT_DOUBLE_EQ(options->faultRate, 0.25);
    EXPECT_EQ(options->seed, 18446744073709551615ULL);
    EXPECT_EQ(options->delayMs, 40);
    EXPECT_FALSE(options->help);
    EXPECT_TRUE(Parse({"--help"})->help);
}

TEST(ServerOptions, RejectsValuesOutOfRangeOrNotNumbers) {
    const std::vector<std::vector<std::string_view>> bad{{"--port", "65536"},
                                                         {"--port", "-1"},
                                                         {"--port", "80a"},
                                                         {"--fault-rate", "1.5"},
                                                         {"--fault-rate", "nan"},
                                                         {"--fault-rate", "-0.1"},
                                                         {"--seed", "-3"},
                                                         {"--delay-ms", "-5"},
                                                         {"--delay-ms", "600001"},
                                                         {"--image", ""},
                                                         {"--port"},
                                                         {"--colour", "blue"},
                                                         {"stray"}};
    for (const std::vector<std::string_view>& args : bad)
        EXPECT_FALSE(Parse(args)) << args.front() << ' ' << (args.size() > 1 ? args[1] : "");
}
