// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/coordinate_entry.h"

#include <gtest/gtest.h>

namespace {

// Types the keys at the end of the text, as the field would, and returns the text.
QString Type(CoordField field, QString text, const QString& keys) {
    for (QChar key : keys) {
        const KeyDecision decision =
            FilterCoordinateKey(field, text, static_cast<int>(text.size()), key);
        if (decision.insert == kBackspace)
            text.chop(1);
        else if (decision.insert)
            text += *decision.insert;
    }
    return text;
}

} // namespace

TEST(CoordinateEntry, TypingBuildsDegreesAndMinutes) {
    const auto lat = CoordField::Latitude;
    EXPECT_EQ(Type(lat, {}, QStringLiteral("55.30.5.")), QStringLiteral("55°30,5'"));
    // Nothing after the apostrophe, no separator at the start or right after the degree sign.
    EXPECT_EQ(Type(CoordField::Longitude, {}, QStringLiteral("1 2,3 4 5x9")),
              QStringLiteral("1°2,3'"));
    EXPECT_EQ(Type(lat, {}, QStringLiteral(".5")), QStringLiteral("5"));
    EXPECT_EQ(Type(lat, QStringLiteral("5°"), QStringLiteral(",")), QStringLiteral("5°"));
    EXPECT_EQ(Type(lat, QStringLiteral("55°3"), QString(kBackspace)), QStringLiteral("55°"));
    EXPECT_EQ(FilterCoordinateKey(lat, QStringLiteral("5°3'"), 3, u'7').insert, QChar(u'7'));
}

TEST(CoordinateEntry, HemisphereKeysSelectAndAreDiscarded) {
    // Latitude: north then south; longitude: west then east; Latin and Cyrillic keys.
    const QString keys[2] = {QStringLiteral("nNТтsSЫы"), QStringLiteral("wWЦцeEУу")};
    const CoordField fields[2] = {CoordField::Latitude, CoordField::Longitude};
    for (int f = 0; f < 2; ++f) {
        for (int i = 0; i < 8; ++i) {
            const KeyDecision decision = FilterCoordinateKey(fields[f], {}, 0, keys[f][i]);
            EXPECT_EQ(decision.hemisphereIndex, i / 4) << f << i;
            EXPECT_FALSE(decision.insert);
        }
    }
    EXPECT_FALSE(FilterCoordinateKey(CoordField::Longitude, {}, 0, u'n').hemisphereIndex);
}

TEST(CoordinateEntry, Parsing) {
    struct Case {
        CoordField field;
        const char* text;
        double value;
        bool inRange;
    };
    const Case cases[] = {
        {CoordField::Latitude, "55°30,5'", 55 + 30.5 / 60, true},
        {CoordField::Latitude, "55°", 0, true},
        {CoordField::Latitude, "°30", 0, true},
        {CoordField::Latitude, "", 0, true},
        {CoordField::Latitude, "91", 91, false},
        {CoordField::Latitude, "89°60", 90, false},
        // The limits themselves: 90 and 180 are out, just below them is in.
        {CoordField::Latitude, "90", 90, false},
        {CoordField::Latitude, "89°59,9'", 89 + 59.9 / 60, true},
        {CoordField::Longitude, "180", 180, false},
        {CoordField::Longitude, "90", 90, true},
        {CoordField::Longitude, "179°59,9'", 179 + 59.9 / 60, true},
        {CoordField::Longitude, "x°5", -1 + 5.0 / 60, false},
    };
    for (const Case& c : cases) {
        const CoordinateEntry entry = ParseCoordinateText(c.field, QString::fromUtf8(c.text));
        EXPECT_TRUE(entry.converted);
        EXPECT_NEAR(entry.value, c.value, 1e-12) << c.text;
        EXPECT_EQ(entry.inRange, c.inRange) << c.text;
    }
    const CoordinateEntry bad = ParseCoordinateText(CoordField::Latitude, QStringLiteral("5°abc"));
    EXPECT_FALSE(bad.converted);
    EXPECT_EQ(bad.error, QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_FALSE(ParseCoordinateText(CoordField::Latitude, QStringLiteral("5°30.5")).converted);
}
