// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/available_memory.h"
#include "batch/jobs/stitch_size.h"

#include "tests/support/temp_dir.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(StitchSize, SidesAndMemory) {
    constexpr std::uint64_t kPlenty = UINT64_MAX;
    EXPECT_EQ(StitchSizeRefusal(255, 255, kPlenty), std::nullopt);
    EXPECT_EQ(StitchSizeRefusal(1, 1, std::nullopt), std::nullopt);
    for (const auto& [columns, rows] : {std::pair{256, 1}, std::pair{1, 256}, std::pair{0, 5},
                                        std::pair{-1, -1}, std::pair{5, -2}})
        EXPECT_EQ(StitchSizeRefusal(columns, rows, kPlenty), StitchRefusal::SideOutOfRange);

    // 6 bytes a pixel: the bitmap and the encoder's coefficients.
    EXPECT_EQ(StitchBytesNeeded(5, 5), 25u * 65536 * 6);
    EXPECT_EQ(StitchBytesNeeded(255, 255), 65025ull * 65536 * 6);
    EXPECT_EQ(StitchBytesNeeded(0, 5), 0u);
    EXPECT_EQ(StitchSizeRefusal(5, 5, StitchBytesNeeded(5, 5)), std::nullopt);
    EXPECT_EQ(StitchSizeRefusal(5, 5, StitchBytesNeeded(5, 5) - 1), StitchRefusal::NotEnoughMemory);
}

TEST(StitchSize, MemAvailable) {
    EXPECT_EQ(ParseMemAvailable("MemTotal:       24000000 kB\n"
                                "MemFree:        1000 kB\n"
                                "MemAvailable:   22000000 kB\n"
                                "Buffers:        100 kB\n"),
              22000000ull * 1024);
    EXPECT_EQ(ParseMemAvailable("MemTotal:       24000000 kB\nMemFree:        1000 kB\n"),
              std::nullopt);
    EXPECT_EQ(ParseMemAvailable("MemAvailable:   lots kB\n"), std::nullopt);
    TempDir dir;
    dir.write("meminfo", "MemAvailable: 3 kB\n");
    EXPECT_EQ(ReadMemAvailable(dir.file("meminfo")), 3072u);
    EXPECT_EQ(ReadMemAvailable(dir.file("absent")), std::nullopt);
    // The real file, whose size the file system reports as 0.
    EXPECT_GT(ReadMemAvailable(QStringLiteral("/proc/meminfo")).value_or(0), 0u);
}

// A 600 MB container on a machine with gigabytes free: the container's room is what counts.
TEST(AvailableMemory, TheTightestCgroupOnTheWayToTheRootCounts) {
    struct Case {
        const char* rootMax;
        const char* groupMax;
        const char* groupCurrent;
        std::optional<std::uint64_t> headroom;
    };
    const Case cases[] = {
        {"max", "max", "1000", std::nullopt},
        {"max", "600000000", "100000000", 500000000},
        {"300000000", "600000000", "100000000", 300000000 - 100000000},
        {"max", "600000000", "700000000", 0}, // over its limit already
    };
    for (const Case& c : cases) {
        TempDir root;
        ASSERT_TRUE(QDir().mkpath(root.file("system.slice/job")));
        root.write("memory.max", c.rootMax);
        root.write("memory.current", "100000000");
        root.write("system.slice/job/memory.max", c.groupMax);
        root.write("system.slice/job/memory.current", c.groupCurrent);
        EXPECT_EQ(CgroupHeadroom(root.path(), "0::/system.slice/job\n"), c.headroom)
            << c.rootMax << ' ' << c.groupMax;
    }
    EXPECT_EQ(CgroupHeadroom(QStringLiteral("/nonexistent"), "1:memory:/x\n"), std::nullopt);

    TempDir proc;
    proc.write("meminfo", "MemAvailable:   8000000 kB\n");
    proc.write("cgroup", "0::/\n");
    const MemorySources sources{proc.file("meminfo"), proc.file("cgroup"), proc.file("status"),
                                proc.path(), false};
    proc.write("memory.max", "600000000");
    proc.write("memory.current", "100000000");
    EXPECT_EQ(AvailableMemory(sources), 500000000u);
}
