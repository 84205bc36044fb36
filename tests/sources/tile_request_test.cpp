// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/tile_request.h"

#include <gtest/gtest.h>

TEST(TileCache, OnlyQuadrantLettersAfterThePrefixEverNameAFile) {
    const TileRequest tile = MakeTileRequest("/c/", "http://h/kh?t=t", "qrst");
    EXPECT_EQ(tile.url, "http://h/kh?t=tqrst");
    EXPECT_EQ(tile.quadPath, "qrst");
    EXPECT_EQ(tile.cacheFile, "/c/qrst.jpg");
    for (const char* path : {"", "../x", "q/../../etc", "qQ", "q.jpg", "q r"})
        EXPECT_FALSE(MakeTileRequest("/c/", "pre", path).cacheFile) << path;
}
