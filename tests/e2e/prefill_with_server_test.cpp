// SPDX-License-Identifier: GPL-3.0-or-later
// The prefill job against the real demo server: what goes on the wire, in which order.
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/served_tiles.h"

#include "batch/jobs/prefill_job.h"
#include "net/http_client.h"
#include "sources/tile_source.h"
#include "tests/support/fake_front_end.h"
#include "tiles/view_moves.h"
#include "tools/tileserver/tile_key.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// The tile keys the server was asked for, in order.
std::vector<std::string> RequestedKeys(const DemoServerProcess& server) {
    std::vector<std::string> keys;
    for (const ServedTile& tile : ServedTiles(server))
        keys.push_back(tile.key);
    return keys;
}

struct Place {
    std::uint32_t column;
    std::uint32_t row;
    bool operator==(const Place&) const = default;
};

// Where the i-th tile of a prefill lies in its region of 2n by 2n tiles: blocks go down
// each column of blocks, columns go west to east, and a block's tiles go top-left,
// top-right, bottom-right, bottom-left.
Place ExpectedPlace(std::uint32_t index, std::uint32_t blocksPerSide) {
    static constexpr std::uint32_t kDx[] = {0, 1, 1, 0};
    static constexpr std::uint32_t kDy[] = {0, 0, 1, 1};
    const std::uint32_t block = index / 4, slot = index % 4;
    return {2 * (block / blocksPerSide) + kDx[slot], 2 * (block % blocksPerSide) + kDy[slot]};
}

class PrefillWithServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server.Port(), 0); }

    // The view whose top-left tile has these quadrant letters.
    ViewUrls ViewAt(const QString& anchor) const {
        return ViewRefs(BlockFromAnchor(anchor), 0).OnPrefix(server.TilePrefix());
    }

    JobEnding Prefill(const ViewUrls& view, int depth) {
        FakeFrontEnd front;
        const ViewSource tiles{
            std::make_shared<PrefixTileSource>(server.TilePrefix(), cache.path()),
            WorkMode::CacheAndInternet, http};
        return RunPrefill({view, depth, settings, counters}, front.Services(tiles), front, front);
    }

    // Checks that the server was asked for every tile of the region of the view anchored at
    // anchor, levelsDown deeper, exactly once and in the job's order.
    void ExpectRegionInOrder(const QString& anchor, int levelsDown) {
        const auto origin = tileserver::ParseTileKey("t" + anchor.toStdString()).value();
        const std::uint32_t n = 1u << levelsDown;
        const std::vector<std::string> keys = RequestedKeys(server);
        ASSERT_EQ(keys.size(), 4u * n * n);
        for (std::uint32_t i = 0; i < keys.size(); ++i) {
            const auto tile = tileserver::ParseTileKey(keys[i]).value();
            EXPECT_EQ(tile.level, anchor.size() + levelsDown);
            const Place got{tile.column - (origin.column << levelsDown),
                            tile.row - (origin.row << levelsDown)};
            EXPECT_EQ(got, ExpectedPlace(i, n)) << "request " << i << ": " << keys[i];
        }
    }

    TempDir dir, cache;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("log")};
    HttpClient http;
    TileCounters counters;
    BatchSettings settings{BatchRetry{3, 1, 25, 3, 3}, false};
};

TEST_F(PrefillWithServer, OneLevelDownAsksForTheSixteenTilesBlockByBlock) {
    EXPECT_EQ(Prefill(ViewAt("q"), 2), JobEnding::Done);
    ExpectRegionInOrder("q", 1);
    EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files).size(), 16);
}

TEST_F(PrefillWithServer, TwoLevelsDownFromAnInnerViewAsksForItsSixtyFourTilesInOrder) {
    EXPECT_EQ(Prefill(ViewAt("qs"), 4), JobEnding::Done);
    ExpectRegionInOrder("qs", 2);
    EXPECT_EQ(counters.receiveErrors + counters.badFileErrors + counters.writeErrors, 0);
}

TEST_F(PrefillWithServer, SecondRunFindsEveryTileInTheCacheAndSendsNoRequest) {
    ASSERT_EQ(Prefill(ViewAt("rt"), 4), JobEnding::Done);
    const std::size_t first = RequestedKeys(server).size();
    const std::int64_t received = counters.bytesReceived;
    EXPECT_EQ(first, 64u);
    EXPECT_EQ(Prefill(ViewAt("rt"), 4), JobEnding::Done);
    EXPECT_EQ(RequestedKeys(server).size(), first);
    EXPECT_EQ(counters.bytesReceived, received);
}

} // namespace
