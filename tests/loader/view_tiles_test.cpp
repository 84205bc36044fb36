// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/placeholder_tile.h"
#include "loader/view_tiles.h"

#include <gtest/gtest.h>
#include <map>

namespace {

class ViewTilesTest : public ::testing::Test, public ViewLoadHooks {
protected:
    void PumpEvents() override { trail += 'p'; }
    void ShowErrorCounts() override {}
    bool CancelRequested() override { return cancel; }
    void SleepMs(int ms) override {
        sleepMs = ms;
        cancel = cancel || ++sleeps == cancelAfterSleeps;
    }
    void ShowTile(int slot, const TilePixels& image) override {
        trail += QString::number(slot);
        shown[slot] = image;
    }

    // Each tile fails as often as failing says, then loads; every attempt costs a
    // receive error.
    ViewLoadOutcome Run(const std::optional<BatchRetry>& batch) {
        auto load = [this](const TileRequest& tile, TilePixels& image) {
            attempts += tile.quadPath;
            ++counters.receiveErrors;
            image = good;
            return failing[tile.quadPath]-- <= 0;
        };
        std::array<TileRequest, 4> tiles;
        for (int i = 0; i < 4; ++i)
            tiles[i].quadPath = QStringLiteral("qrst")[i];
        return LoadViewTiles(tiles, batch, counters, load, *this);
    }

    std::map<QString, int> failing;
    QString attempts, trail;
    TileCounters counters;
    bool cancel = false;
    int cancelAfterSleeps = -1, sleeps = 0, sleepMs = 0;
    std::map<int, TilePixels> shown;
    const TilePixels good = PlaceholderTile("good", "");
};

} // namespace

TEST_F(ViewTilesTest, OutsideBatchEachTileIsTriedOnceInOrderAndNothingStopsIt) {
    failing = {{"r", 5}};
    cancel = true;
    EXPECT_EQ(Run(std::nullopt), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, "qrst");
    EXPECT_EQ(trail, "p0p1p2p3");
    EXPECT_EQ(sleeps, 0);
    EXPECT_EQ(shown[0], good);
    EXPECT_EQ(shown[1], PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-r-"));
}

TEST_F(ViewTilesTest, BatchRetriesAFailingTileWithAPauseAfterEachFailure) {
    failing = {{"q", 2}, {"s", 9}};
    EXPECT_EQ(Run(BatchRetry{3, 2, 25, 3, 99}), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, "qqqrssst");
    EXPECT_EQ(sleeps, 5 * 99);
    EXPECT_EQ(sleepMs, 20);
    EXPECT_EQ(trail.count('0'), 3);
    EXPECT_EQ(shown[0], good);
    EXPECT_EQ(shown[2], PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-s-"));

    // Without attempts each tile is still tried once, so no slot keeps an old picture.
    attempts.clear();
    EXPECT_EQ(Run(BatchRetry{0, 0, 25, 3, 99}), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, "qrst");
}

TEST_F(ViewTilesTest, BatchStopsBeforeAnAttemptAtALimitOrOnCancel) {
    for (const TileCounters& reached :
         {TileCounters{0, 0, 25, 0}, TileCounters{0, 0, 0, 3}, TileCounters{0, 4, 0, 0}}) {
        counters = reached;
        trail.clear();
        EXPECT_EQ(Run(BatchRetry{3, 1, 25, 3, 4}), ViewLoadOutcome::Aborted);
        EXPECT_TRUE(attempts.isEmpty());
        EXPECT_EQ(trail, "p");
    }
    // The loader's own counting reaches the limit: tiles shown so far stay shown.
    counters = {};
    failing = {{"r", 9}};
    EXPECT_EQ(Run(BatchRetry{3, 0, 25, 3, 2}), ViewLoadOutcome::Aborted);
    EXPECT_EQ(attempts, "qr");
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(ViewTilesTest, CancelDuringAPauseEndsItAndTheRefresh) {
    failing = {{"q", 9}};
    cancelAfterSleeps = 5;
    EXPECT_EQ(Run(BatchRetry{3, 1, 25, 3, 99}), ViewLoadOutcome::Aborted);
    EXPECT_EQ(sleeps, 5);
    EXPECT_EQ(attempts, "q");
    EXPECT_EQ(shown.size(), 1u);
}
