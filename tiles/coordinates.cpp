// SPDX-License-Identifier: GPL-3.0-or-later
#include "tiles/coordinates.h"

#include "tiles/decimal_text.h"
#include "tiles/mercator.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>

AnchorOffset AnchorOffsets(QStringView quadPath) {
    AnchorOffset offsets;
    if (quadPath.isEmpty())
        return offsets;
    for (QChar letter : quadPath.chopped(1)) {
        const double row = offsets.row * 2;
        const double column = offsets.column * 2;
        if (letter == u'q') {
            offsets = {row + 1, column + 1};
        } else if (letter == u'r') {
            offsets = {row + 1, column - 1};
        } else if (letter == u's') {
            offsets = {row - 1, column - 1};
        } else if (letter == u't') {
            offsets = {row - 1, column + 1};
        }
    }
    const QChar last = quadPath.back();
    if (last == u't' || last == u's')
        offsets.row -= 1;
    if (last == u'r' || last == u's')
        offsets.column -= 1;
    return offsets;
}

double NorthingToLatitude(double northing, int level) {
    return SaturatedDouble(LatitudeOfFraction(northing / TwoToThe(level)));
}

double WestingToLongitude(double westing, int level) {
    return SaturatedDouble(LongitudeOfFraction(westing / TwoToThe(level)));
}

QString DegreesMinutesText(double value, QChar positive, QChar negative, int minuteDecimals) {
    if (!std::isfinite(value))
        return {};
    QChar letter = positive;
    long double v = value;
    if (v < 0) {
        letter = negative;
        v = -v;
    }
    // Degrees are formatted from the floating value: no integer type has to hold them.
    const long double degrees = std::trunc(v);
    const long double minutes = (v - degrees) * 60;
    return QCoreApplication::translate("Coordinates", "%1%2г %3мин")
        .arg(letter, QString::number(static_cast<double>(degrees), 'f', 0),
             FormatFixed(static_cast<double>(minutes), minuteDecimals));
}

namespace {

// The status bar shows single-precision values: the minutes are formatted from the
// value rounded to float, not from the extended one.
LatLonText StatusText(long double latitude, long double westLongitude, int minuteDecimals) {
    return {DegreesMinutesText(Saturated<float>(latitude), u'N', u'S', minuteDecimals),
            DegreesMinutesText(Saturated<float>(westLongitude), u'W', u'E', minuteDecimals)};
}

} // namespace

LatLonText ViewCentreText(QStringView anchorPath, int level) {
    const AnchorOffset offsets = AnchorOffsets(anchorPath);
    const long double halfWorld = TwoToThe(level - 1);
    const long double world = TwoToThe(level);
    return StatusText(LatitudeOfFraction((halfWorld + offsets.row) / world),
                      LongitudeOfFraction((halfWorld + offsets.column) / world), 5);
}

LatLonText MouseReadoutText(int level, AnchorOffset offsets, int slot, int x, int y) {
    if (slot < 0 || slot > 3)
        return {};
    const long double half = TwoToThe(level - 1) * kTileSide;
    const long double size = TwoToThe(level) * kTileSide;
    const bool topRow = slot == 0 || slot == 1;
    const bool leftColumn = slot == 0 || slot == 3;
    // Pixel distances from the south and east edges of the world.
    const long double fromSouth = half + offsets.row * kTileSide + (topRow ? kTileSide : 0) - y;
    const long double fromEast =
        half + offsets.column * kTileSide + (leftColumn ? kTileSide : 0) - x;
    return StatusText(LatitudeOfFraction(fromSouth / size), LongitudeOfFraction(fromEast / size),
                      3);
}
