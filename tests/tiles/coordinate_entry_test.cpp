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
    const QString latitudeKeys = QStringLiteral("nNТтsSЫы");
    const QString longitudeKeys = QStringLiteral("wWЦцeEУу");
    for (int i = 0; i < 8; ++i) {
        const KeyDecision lat = FilterCoordinateKey(CoordField::Latitude, {}, 0, latitudeKeys[i]);
        const KeyDecision lon = FilterCoordinateKey(CoordField::Longitude, {}, 0, longitudeKeys[i]);
        EXPECT_EQ(lat.hemisphereIndex, i / 4) << i;
        EXPECT_EQ(lon.hemisphereIndex, i / 4) << i;
        EXPECT_FALSE(lat.insert || lon.insert);
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
