// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/coordinates.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

void ExpectTexts(const LatLonText& text, const QString& latitude, const QString& longitude) {
    EXPECT_EQ(text.latitude, latitude);
    EXPECT_EQ(text.longitude, longitude);
}

} // namespace

TEST(Coordinates, OffsetsAndWorldEdges) {
    // Row 7, column 13 of level 4: R = 8 - 1 - 7, C = 8 - 1 - 13.
    EXPECT_EQ(AnchorOffsets(u"rsts").row, 0);
    EXPECT_EQ(AnchorOffsets(u"rsts").column, -6);
    EXPECT_NEAR(NorthingToLatitude(2, 1), 85.0511, 1e-4);
    EXPECT_NEAR(NorthingToLatitude(0, 1), -85.0511, 1e-4);
}

TEST(Coordinates, ViewCentreTexts) {
    ExpectTexts(ViewCentreText(u"q", 1), QStringLiteral("N0г 0,00000мин"),
                QStringLiteral("W0г 0,00000мин"));
    // Formatted from the single-precision latitude (the double would give 30,79563).
    ExpectTexts(ViewCentreText(u"qq", 2), QStringLiteral("N66г 30,79559мин"),
                QStringLiteral("W90г 0,00000мин"));
    EXPECT_EQ(ViewCentreText(u"qr", 2).longitude, QStringLiteral("W0г 0,00000мин"));
    EXPECT_EQ(ViewCentreText(u"rq", 2).longitude, QStringLiteral("E90г 0,00000мин"));
}

TEST(Coordinates, MouseReadout) {
    ExpectTexts(MouseReadoutText(1, {}, 0, 100, 60), QStringLiteral("N79г 41,231мин"),
                QStringLiteral("W109г 41,250мин"));
    ExpectTexts(MouseReadoutText(1, {}, 2, 100, 60), QStringLiteral("S38г 49,355мин"),
                QStringLiteral("E70г 18,750мин"));
    // All four images agree on the corner they share, the view's centre.
    for (const char16_t* anchor : {u"q", u"tq", u"rsts", u"qrsqrtsqrtq"}) {
        const QStringView path(anchor);
        const int level = static_cast<int>(path.size());
        const AnchorOffset offsets = AnchorOffsets(path);
        const LatLonText centre = MouseReadoutText(level, offsets, 2, 0, 0);
        ExpectTexts(MouseReadoutText(level, offsets, 0, 256, 256), centre.latitude,
                    centre.longitude);
        ExpectTexts(MouseReadoutText(level, offsets, 1, 0, 256), centre.latitude, centre.longitude);
        ExpectTexts(MouseReadoutText(level, offsets, 3, 256, 0), centre.latitude, centre.longitude);
        EXPECT_EQ(centre.latitude.left(7), ViewCentreText(path, level).latitude.left(7));
    }
    ExpectTexts(MouseReadoutText(1, {}, 4, 0, 0), QString(), QString());
}

TEST(Coordinates, DegreesMinutesText) {
    EXPECT_EQ(DegreesMinutesText(-55.75, u'N', u'S', 3), QStringLiteral("S55г 45,000мин"));
    // No carry: minutes that round up to 60 stay 60.
    EXPECT_EQ(DegreesMinutesText(55.9999999, u'N', u'S', 3), QStringLiteral("N55г 60,000мин"));
    EXPECT_EQ(DegreesMinutesText(-0.0, u'W', u'E', 3), QStringLiteral("W0г 0,000мин"));
    EXPECT_EQ(DegreesMinutesText(std::numeric_limits<double>::quiet_NaN(), u'N', u'S', 3),
              QString());
}
