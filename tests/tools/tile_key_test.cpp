#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/tile_request.h"

#include <gtest/gtest.h>
#include <string>

using namespace tileserver;

TEST(TileKey, LettersGiveRowAndColumnBitsCoarsestFirst) {
    struct Case {
        const char* key;
        int level;
        std::uint32_t row;
        std::uint32_t column;
    };
    for (const Case& c :
         {Case{"tq", 1, 0, 0}, Case{"tr", 1, 0, 1}, Case{"ts", 1, 1, 1}, Case{"tt", 1, 1, 0},
          Case{"ttq", 2, 2, 0}, Case{"trq", 2, 0, 2}, Case{"tsrt", 3, 0b101, 0b110}}) {
        const std::optional<TilePosition> tile = ParseTileKey(c.key);
        ASSERT_TRUE(tile) << c.key;
        EXPECT_EQ(tile->level, c.level) << c.key;
        EXPECT_EQ(tile->row, c.row) << c.key;
        EXPECT_EQ(tile->column, c.column) << c.key;
    }
}

TEST(TileKey, DeepestLevelReachesTheLastRowAndColumn) {
    const std::optional<TilePosition> tile = ParseTileKey("t" + std::string(20, 's'));
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->level, 20);
    EXPECT_EQ(tile->row, (1u << 20) - 1);
    EXPECT_EQ(tile->column, (1u << 20) - 1);
}

TEST(TileKey, RejectsMalformedKeys) {
    for (const std::string key : {"", "t", "q", "qq", "tQ", "tqx", "tq ", "t-q", "tq\r"})
        EXPECT_FALSE(ParseTileKey(key)) << '"' << key << '"';
    EXPECT_FALSE(ParseTileKey("t" + std::string(21, 'q'))) << "level 21";
}

TEST(TileRequest, FindsTheKeyInOriginAndAbsoluteTargets) {
    EXPECT_EQ(TileKeyParameter("/kh?v=5&n=404&t=tqr"), "tqr");
    EXPECT_EQ(TileKeyParameter("/kh?t=ts&v=99"), "ts");
    EXPECT_EQ(TileKeyParameter("http://127.0.0.1:47321/kh?v=5&n=404&t=tq"), "tq");
    EXPECT_EQ(TileKeyParameter("/kh?v=5&t=tq#top"), "tq");
    // A parameter merely ending in t is not the key.
    EXPECT_EQ(TileKeyParameter("/kh?st=tr&t=tq"), "tq");
}

TEST(TileRequest, OtherPathsOrNoKeyParameterGiveNothing) {
    for (const char* target : {"/kh", "/kh?v=5&n=404", "/khx?t=tq", "/tiles/kh?t=tq", "/?t=tq",
                               "kh?t=tq", "http://127.0.0.1:47321", ""})
        EXPECT_FALSE(TileKeyParameter(target)) << target;
}

TEST(TileRequest, RequestLineNeedsExactlyThreeWords) {
    const std::optional<RequestLine> line =
        ParseRequestLine("GET /kh?t=tq HTTP/1.0\r\nHost: x\r\n\r\n");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->method, "GET");
    EXPECT_EQ(line->target, "/kh?t=tq");
    EXPECT_EQ(line->version, "HTTP/1.0");
    EXPECT_FALSE(ParseRequestLine("GET /kh?t=tq\r\n\r\n"));
    EXPECT_FALSE(ParseRequestLine("GET /kh?t=tq HTTP/1.0 extra\r\n\r\n"));
    EXPECT_FALSE(ParseRequestLine("\r\n\r\n"));
}
