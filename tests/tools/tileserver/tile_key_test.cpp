// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/tile_request.h"

#include <gtest/gtest.h>
#include <string>

using namespace tileserver;

TEST(TileKey, LettersGiveRowAndColumnBitsCoarsestFirst) {
    struct Case {
        std::string key;
        int level;
        std::uint32_t row, column;
    };
    for (const Case& c :
         {Case{"tq", 1, 0, 0}, Case{"tr", 1, 0, 1}, Case{"ts", 1, 1, 1}, Case{"tt", 1, 1, 0},
          Case{"ttq", 2, 2, 0}, Case{"trq", 2, 0, 2}, Case{"tsrt", 3, 0b101, 0b110},
          Case{"t" + std::string(20, 's'), 20, (1u << 20) - 1, (1u << 20) - 1}}) {
        const std::optional<TileKey> tile = ParseTileKey(c.key);
        ASSERT_TRUE(tile) << c.key;
        EXPECT_EQ(tile->level, c.level) << c.key;
        EXPECT_EQ(tile->row, c.row) << c.key;
        EXPECT_EQ(tile->column, c.column) << c.key;
    }
}

TEST(TileKey, RejectsMalformedKeys) {
    for (const std::string key : {"", "t", "q", "qq", "tQ", "tqx", "tq ", "t-q", "tq\r"})
        EXPECT_FALSE(ParseTileKey(key)) << '"' << key << '"';
    EXPECT_FALSE(ParseTileKey("t" + std::string(21, 'q'))) << "level 21";
}

TEST(TileRequest, FindsTheKeyOnlyInTheTParameterOfKh) {
    EXPECT_EQ(TileKeyParameter("/kh?v=5&n=404&t=tqr"), "tqr");
    EXPECT_EQ(TileKeyParameter("/kh?t=ts&v=99"), "ts");
    // The absolute form a proxy may pass on, a fragment, a parameter merely ending in t.
    EXPECT_EQ(TileKeyParameter("http://127.0.0.1:47321/kh?v=5&n=404&t=tq"), "tq");
    EXPECT_EQ(TileKeyParameter("/kh?v=5&t=tq#top"), "tq");
    EXPECT_EQ(TileKeyParameter("/kh?st=tr&t=tq"), "tq");
    for (const char* target : {"/kh", "/kh?v=5&n=404", "/khx?t=tq", "/tiles/kh?t=tq", "/?t=tq",
                               "kh?t=tq", "http://127.0.0.1:47321", ""})
        EXPECT_FALSE(TileKeyParameter(target)) << target;
}
