// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between positions on the spherical Mercator tile grid and geographic
// coordinates, and the degree-and-minute texts of the status bar. Longitude is handled
// west-positive: the east-positive longitude is its negative.
#include <QChar>
#include <QString>
#include <QStringView>

// Where the view's anchor lies: row is the number of tile rows from the equator up to the
// anchor's bottom edge (north positive), column the number of tile columns from the prime
// meridian westwards to its east edge (west positive). The anchor's bottom-right corner
// is the centre of the 2 by 2 view.
struct AnchorOffset {
    double row = 0;
    double column = 0;
};

// The offsets of the anchor tile named by the quad path. A character that is not a
// quadrant letter leaves the running offsets as they are.
AnchorOffset AnchorOffsets(QStringView quadPath);

// Latitude in degrees (north positive) of a northing counted in tiles of the level
// upwards from the south edge of the world: 0 gives about -85.0511, 2^level about 85.0511.
double NorthingToLatitude(double northing, int level);

// Longitude in degrees, west positive, of a westing counted in tiles of the level
// westwards from the east edge of the world.
double WestingToLongitude(double westing, int level);

// The hemisphere letter (positive for values >= 0), the whole degrees, "г ", the minutes
// with the given number of decimals (decimal comma) and "мин", e.g. N55г 45,123мин.
// Minutes that round to 60 stay 60. Empty for a value that is not finite.
QString DegreesMinutesText(double value, QChar positive, QChar negative, int minuteDecimals);

struct LatLonText {
    QString latitude;
    QString longitude;
};

// The centre of the view whose anchor has the quad path, as shown after a refresh.
LatLonText ViewCentreText(QStringView anchorPath, int level);

// The point under the mouse at pixel (x, y) of the tile image in the slot (0 top-left,
// 1 top-right, 2 bottom-right, 3 bottom-left), with the offsets of the last refresh.
// Both texts are empty for a slot outside 0..3.
LatLonText MouseReadoutText(int level, AnchorOffset offsets, int slot, int x, int y);
