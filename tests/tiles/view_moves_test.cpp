// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"

#include <gtest/gtest.h>
#include <random>

namespace {

ViewUrls View(const char* a, const char* b, const char* c, const char* d) {
    return {a, b, c, d};
}

// The block whose anchor is the key, built from row and column numbers rather than
// from the letter carry.
ViewUrls BlockAt(const TileKey& anchor) {
    ViewUrls block;
    for (int slot = 0; slot < 4; ++slot)
        block[slot] = QuadPathOf(anchor.Block()[slot]);
    return block;
}

} // namespace

TEST(ViewMoves, ClickRule) {
    const ViewUrls world = View("q", "r", "s", "t");
    EXPECT_EQ(ClickZoom(world, 2, false).letters, View("sq", "sr", "ss", "st"));
    EXPECT_EQ(ClickZoom(world, 1, true).letters, View("rq", "rr", "rs", "rt"));
    EXPECT_EQ(ClickZoom(View("qq", "qr", "qs", "qt"), 1, true).letters, world);
    EXPECT_EQ(ClickZoom(View("qrs", "qrt", "qsq", "qsr"), 3, true).letters,
              View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(ClickZoom(world, 7, false).letters, world);
    const ViewUrls deep = ZoomIntoTile(QString(19, u'q'));
    EXPECT_EQ(ClickZoom(deep, 0, false).letters[0].size(), 21);
}

TEST(ViewMoves, SliderRule) {
    const ViewUrls world = View("q", "r", "s", "t");
    EXPECT_EQ(SliderZoom(View("qrs", "qrt", "qsq", "qsr"), 2).letters,
              View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(SliderZoom(world, 3).letters, View("qss", "rtt", "sqq", "trr"));
    EXPECT_EQ(SliderZoom(View("qs", "rt", "rq", "qr"), 1).letters, world);
    // Values beyond the slider's range are clamped: never below the world's four quarters.
    EXPECT_EQ(SliderZoom(View("qs", "rt", "rq", "qr"), -4).letters, world);
    const ViewUrls level21 = ZoomIntoTile(QString(20, u'r'));
    EXPECT_EQ(SliderZoom(level21, 21).letters, ZoomOutToAncestor(QString(19, u'r')));
}

TEST(ViewMoves, PanningMovesOneTileInEachDirection) {
    // Level 2 is a 4 by 4 grid; the view's anchor starts in row 1, column 1.
    const ViewUrls middle = View("qs", "rt", "sq", "tr");
    EXPECT_EQ(PanView(middle, PanDirection::North), View("qr", "rq", "rt", "qs"));
    EXPECT_EQ(PanView(middle, PanDirection::South), View("tr", "sq", "st", "ts"));
    EXPECT_EQ(PanView(middle, PanDirection::West), View("qt", "qs", "tr", "tq"));
    EXPECT_EQ(PanView(middle, PanDirection::East), View("rt", "rs", "sr", "sq"));
    EXPECT_EQ(PanView(middle, PanDirection::NorthWest), View("qq", "qr", "qs", "qt"));
    EXPECT_EQ(PanView(middle, PanDirection::NorthEast), View("rq", "rr", "rs", "rt"));
    EXPECT_EQ(PanView(middle, PanDirection::SouthEast), View("sq", "sr", "ss", "st"));
    EXPECT_EQ(PanView(middle, PanDirection::SouthWest), View("tq", "tr", "ts", "tt"));
    // Past the edges of the world: west and east wrap, and so do north and south.
    const ViewUrls corner = View("qq", "qr", "qs", "qt");
    EXPECT_EQ(PanView(corner, PanDirection::North), View("tt", "ts", "qr", "qq"));
    EXPECT_EQ(PanView(corner, PanDirection::West), View("rr", "qq", "qt", "rs"));
}

TEST(ViewMoves, RandomCommandsKeepTheBlock) {
    std::mt19937 random(7);
    for (int run = 0; run < 50; ++run) {
        ViewUrls view = View("q", "r", "s", "t");
        for (int command = 0; command < 60; ++command) {
            const int kind = static_cast<int>(random() % 11);
            if (kind < 8)
                view = PanView(view, static_cast<PanDirection>(kind));
            else if (kind == 8)
                view = ClickZoom(view, static_cast<int>(random() % 4), random() % 2 == 0).letters;
            else if (kind == 9)
                view = SliderZoom(view, 1 + static_cast<int>(random() % 20)).letters;
            else if (view[0].size() < kMaxTileLevel)
                view = ZoomInAboutCentre(view);
            const TileKey anchor = KeyOfQuadPath(view[0]).value();
            ASSERT_EQ(view, BlockAt(anchor)) << run << " " << command;
        }
    }
}
