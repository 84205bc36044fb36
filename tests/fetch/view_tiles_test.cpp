#include "fetch/placeholder_tile.h"
#include "fetch/view_tiles.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// Records what the loop does, as a readable trail of events.
struct RecordingViewHooks : ViewLoadHooks {
    void PumpEvents() override { trail.push_back("pump"); }
    void ShowErrorCounts() override {}
    bool CancelRequested() override { return cancel; }
    void SleepMs(int ms) override {
        sleepMs = ms;
        if (++sleeps == cancelAfterSleeps)
            cancel = true;
    }
    void ShowTile(int slot, const QImage& image) override {
        trail.push_back("show" + std::to_string(slot));
        shown[slot] = image;
    }

    bool cancel = false;
    int cancelAfterSleeps = -1;
    int sleeps = 0;
    int sleepMs = 0;
    std::vector<std::string> trail;
    std::map<int, QImage> shown;
};

std::array<TileRequest, 4> ViewOf(const char* a, const char* b, const char* c, const char* d) {
    std::array<TileRequest, 4> tiles;
    const char* paths[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i)
        tiles[i] = TileRequest{QStringLiteral("pre") + paths[i], paths[i], std::nullopt};
    return tiles;
}

class ViewTilesTest : public ::testing::Test {
protected:
    // Tiles listed in failing fail as often as given there, then load.
    ViewLoadOutcome Run(const std::optional<BatchRetry>& batch) {
        auto load = [this](const TileRequest& tile, QImage& image) {
            attempts.push_back(tile.quadPath);
            if (failing[tile.quadPath]-- > 0)
                return false;
            image = QImage(256, 256, QImage::Format_RGB888);
            image.fill(Qt::green);
            return true;
        };
        return LoadViewTiles(tiles, batch, counters, load, hooks);
    }

    const std::array<TileRequest, 4> tiles = ViewOf("qq", "qr", "qs", "qt");
    std::map<QString, int> failing;
    QStringList attempts;
    TileCounters counters;
    RecordingViewHooks hooks;
};

const QImage kGreen = [] {
    QImage image(256, 256, QImage::Format_RGB888);
    image.fill(Qt::green);
    return image;
}();

} // namespace

TEST_F(ViewTilesTest, OutsideBatchEachTileIsTriedOnceInOrderAndNothingStopsIt) {
    failing = {{"qr", 5}};
    hooks.cancel = true;
    counters.receiveErrors = 1000;
    EXPECT_EQ(Run(std::nullopt), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, QStringList({"qq", "qr", "qs", "qt"}));
    EXPECT_EQ(hooks.trail, std::vector<std::string>({"pump", "show0", "pump", "show1", "pump",
                                                     "show2", "pump", "show3", "pump"}));
    EXPECT_EQ(hooks.sleeps, 0);
    EXPECT_EQ(hooks.shown[0], kGreen);
    EXPECT_EQ(hooks.shown[1], PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-qr-"));
}

TEST_F(ViewTilesTest, BatchRetriesAFailingTileWithAPauseAfterEachFailure) {
    failing = {{"qq", 2}, {"qs", 9}};
    EXPECT_EQ(Run(BatchRetry{3, 2, 25, 3, 3}), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, QStringList({"qq", "qq", "qq", "qr", "qs", "qs", "qs", "qt"}));
    EXPECT_EQ(hooks.sleeps, 5 * 99);
    EXPECT_EQ(hooks.sleepMs, 20);
    EXPECT_EQ(std::count(hooks.trail.begin(), hooks.trail.end(), "show0"), 3);
    EXPECT_EQ(hooks.shown[0], kGreen);
    EXPECT_EQ(hooks.shown[2], PlaceholderTile(QStringLiteral("Не удалось загрузить"), "-qs-"));

    // A batch without attempts still tries each tile once, so no slot keeps an old picture.
    attempts.clear();
    EXPECT_EQ(Run(BatchRetry{0, 0, 25, 3, 3}), ViewLoadOutcome::Completed);
    EXPECT_EQ(attempts, QStringList({"qq", "qr", "qs", "qt"}));
}

TEST_F(ViewTilesTest, BatchStopsBeforeTheFirstAttemptAtAnyLimitOrCancel) {
    const BatchRetry batch{3, 1, 25, 3, 3};
    const std::vector<std::pair<const char*, TileCounters>> stops = {
        {"bad files", {0, 0, 25, 0}}, {"writes", {0, 0, 0, 3}}, {"receives", {0, 4, 0, 0}}};
    for (const auto& [what, reached] : stops) {
        SCOPED_TRACE(what);
        counters = reached;
        EXPECT_EQ(Run(batch), ViewLoadOutcome::Aborted);
        EXPECT_TRUE(attempts.isEmpty());
        EXPECT_EQ(hooks.trail, std::vector<std::string>{"pump"});
        hooks.trail.clear();
    }
    counters = {};
    hooks.cancel = true;
    EXPECT_EQ(Run(batch), ViewLoadOutcome::Aborted);
    EXPECT_TRUE(attempts.isEmpty());
}

TEST_F(ViewTilesTest, LimitReachedMidwayStopsAtTheNextAttemptAndKeepsShownTiles) {
    auto load = [this](const TileRequest& tile, QImage& image) {
        attempts.push_back(tile.quadPath);
        ++counters.receiveErrors;
        image = kGreen;
        return tile.quadPath != "qr";
    };
    EXPECT_EQ(LoadViewTiles(tiles, BatchRetry{3, 0, 25, 3, 2}, counters, load, hooks),
              ViewLoadOutcome::Aborted);
    EXPECT_EQ(attempts, QStringList({"qq", "qr"}));
    EXPECT_EQ(hooks.shown.size(), 2u);
}

TEST_F(ViewTilesTest, CancelDuringAPauseEndsItAndTheRefresh) {
    failing = {{"qq", 9}};
    hooks.cancelAfterSleeps = 5;
    EXPECT_EQ(Run(BatchRetry{3, 1, 25, 3, 3}), ViewLoadOutcome::Aborted);
    EXPECT_EQ(hooks.sleeps, 5);
    EXPECT_EQ(attempts, QStringList({"qq"}));
    EXPECT_EQ(hooks.shown.size(), 1u);
}
