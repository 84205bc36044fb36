#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"

#include <gtest/gtest.h>
#include <random>

namespace {

const QString kPrefix = QStringLiteral("http://host/kh?v=5&n=404&t=t");
const int kP = static_cast<int>(kPrefix.size());

ViewUrls View(const char* a, const char* b, const char* c, const char* d) {
    return {kPrefix + a, kPrefix + b, kPrefix + c, kPrefix + d};
}

// The block whose anchor is the key, built from row and column numbers rather than
// from the letter carry.
ViewUrls BlockAt(const TileKey& anchor) {
    ViewUrls block;
    for (int slot = 0; slot < 4; ++slot)
        block[slot] = kPrefix + QuadPathOf(anchor.Block()[slot]);
    return block;
}

} // namespace

TEST(ViewMoves, ClickRule) {
    const ViewUrls world = View("q", "r", "s", "t");
    EXPECT_EQ(ClickZoom(world, kP, 2, false), View("sq", "sr", "ss", "st"));
    EXPECT_EQ(ClickZoom(world, kP, 1, true), View("rq", "rr", "rs", "rt"));
    EXPECT_EQ(ClickZoom(View("qq", "qr", "qs", "qt"), kP, 1, true), world);
    EXPECT_EQ(ClickZoom(View("qrs", "qrt", "qsq", "qsr"), kP, 3, true),
              View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(ClickZoom(world, kP, 7, false), world);
    const ViewUrls deep = ZoomIntoTile(kPrefix + QString(19, u'q'));
    EXPECT_EQ(LevelOf(ClickZoom(deep, kP, 0, false)[0], kP), 21);
}

TEST(ViewMoves, SliderRule) {
    const ViewUrls world = View("q", "r", "s", "t");
    EXPECT_EQ(SliderZoom(View("qrs", "qrt", "qsq", "qsr"), kP, 2), View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(SliderZoom(world, kP, 3), View("qss", "rtt", "sqq", "trr"));
    EXPECT_EQ(SliderZoom(View("qs", "rt", "rq", "qr"), kP, 1), world);
    // Values beyond the slider's range are clamped: never cut into the prefix.
    EXPECT_EQ(SliderZoom(View("qs", "rt", "rq", "qr"), kP, -4), world);
    const ViewUrls level21 = ZoomIntoTile(kPrefix + QString(20, u'r'));
    EXPECT_EQ(SliderZoom(level21, kP, 21), ZoomOutToAncestor(kPrefix + QString(19, u'r')));
}

TEST(ViewMoves, PanningMovesOneTileInEachDirection) {
    // Level 2 is a 4 by 4 grid; the view's anchor starts in row 1, column 1.
    const ViewUrls middle = View("qs", "rt", "sq", "tr");
    EXPECT_EQ(PanView(middle, kP, PanDirection::North), View("qr", "rq", "rt", "qs"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::South), View("tr", "sq", "st", "ts"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::West), View("qt", "qs", "tr", "tq"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::East), View("rt", "rs", "sr", "sq"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::NorthWest), View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::NorthEast), View("rq", "rr", "rs", "rt"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::SouthEast), View("sq", "sr", "ss", "st"));
    EXPECT_EQ(PanView(middle, kP, PanDirection::SouthWest), View("tq", "tr", "ts", "tt"));
    // Past the edges of the world: west and east wrap, and so do north and south.
    const ViewUrls corner = View("qq", "qr", "qs", "qt");
    EXPECT_EQ(PanView(corner, kP, PanDirection::North), View("tt", "ts", "qr", "qq"));
    EXPECT_EQ(PanView(corner, kP, PanDirection::West), View("rr", "qq", "qt", "rs"));
}

TEST(ViewMoves, RandomCommandsKeepTheBlock) {
    std::mt19937 random(7);
    for (int run = 0; run < 50; ++run) {
        ViewUrls view = View("q", "r", "s", "t");
        for (int command = 0; command < 60; ++command) {
            const int kind = static_cast<int>(random() % 11);
            if (kind < 8)
                view = PanView(view, kP, static_cast<PanDirection>(kind));
            else if (kind == 8)
                view = ClickZoom(view, kP, static_cast<int>(random() % 4), random() % 2 == 0);
            else if (kind == 9)
                view = SliderZoom(view, kP, 1 + static_cast<int>(random() % 20));
            else if (LevelOf(view[0], kP) < kMaxTileLevel)
                view = ZoomInAboutCentre(view);
            const TileKey anchor = KeyOfQuadPath(QuadPathOf(view[0], kP)).value();
            ASSERT_EQ(view, BlockAt(anchor)) << run << " " << command;
        }
    }
}
