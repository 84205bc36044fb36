#include "batch/stitch_size.h"

#include "tests/support/temp_dir.h"

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
