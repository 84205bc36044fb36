// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/tile_source.h"
#include "tiles/tile_search.h"
#include "tiles/view_moves.h"

#include <gtest/gtest.h>

// The prefix length comes from the settings file; out of range it is clamped to each
// reference, never read past. The moves see the letters alone: a prefix ending in a quadrant
// letter never takes a carry.
TEST(ViewRefs, APrefixLengthOutOfRangeIsClampedToEachReference) {
    struct Case {
        const char* ref;
        int prefixLength;
        const char* prefix;
        const char* letters;
        const char* east;
    };
    const Case cases[] = {
        {"t=trr", 3, "t=t", "rr", "t=tqq"}, {"abqr", 2, "ab", "qr", "abrq"},
        {"abqr", 99, "abqr", "", "abqr"},   {"abqr", -3, "", "abqr", "abrq"},
        {"qr", -5, "", "qr", "rq"},         {"t=tqxr", 3, "t=t", "qxr", "t=tqxq"},
    };
    for (const Case& c : cases) {
        const RefParts parts = SplitRef(c.ref, c.prefixLength);
        EXPECT_EQ(parts.prefix, c.prefix) << c.ref << ' ' << c.prefixLength;
        EXPECT_EQ(parts.letters, c.letters) << c.ref << ' ' << c.prefixLength;
        const ViewRefs refs({c.ref, c.ref, c.ref, c.ref}, c.prefixLength);
        EXPECT_EQ(refs.Level(), QString(c.letters).size()) << c.ref;
        EXPECT_EQ(refs.Rebuilt(PanView(refs.Letters(), PanDirection::East))[0], c.east) << c.ref;
    }
    const PrefixTileSource source("pre", "/c/");
    EXPECT_EQ(source.Request("preqr").cacheFile, "/c/qr.jpg");
    EXPECT_EQ(source.Request("qr").url, "qr");
    EXPECT_FALSE(source.Request("qr").cacheFile); // shorter than the prefix: no letters
}

// Four references on different prefixes, as a hand-edited settings file may hold them.
TEST(ViewRefs, EachTileGoesBackOnThePrefixOfTheTileItCameFrom) {
    const ViewRefs refs({"Aqq", "Bqr", "Cqs", "Dqt"}, 1);
    const ViewUrls& letters = refs.Letters();
    struct Case {
        ViewUrls rebuilt;
        ViewUrls expected;
    };
    const Case cases[] = {
        {refs.Rebuilt(PanView(letters, PanDirection::East)), {"Aqr", "Brq", "Crt", "Dqs"}},
        {refs.Rebuilt(ClickZoom(letters, 2, false)), {"Cqsq", "Cqsr", "Cqss", "Cqst"}},
        {refs.Rebuilt(ClickZoom(letters, 2, true)), {"Aq", "Ar", "As", "At"}},
        {refs.Rebuilt(SliderZoom(letters, 1)), {"Aq", "Ar", "As", "At"}},
        {refs.Rebuilt(SliderZoom(letters, 3)), {"Aqqs", "Bqrt", "Cqsq", "Dqtr"}},
        {refs.Rebuilt(ViewMove::FromSlot(0, SearchViewFor({"qq", 200, 200}).view)),
         {"Aqq", "Aqr", "Aqs", "Aqt"}},
        {refs.OnPrefix("Z"), {"Zqq", "Zqr", "Zqs", "Zqt"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.rebuilt, c.expected) << c.expected[0].toStdString();
}
