// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tile next to a given one at the same level, found by rewriting its quadrant letters
// like adding or subtracting 1 to a binary row or column whose bits are spread over the
// letters. The world wraps around in both directions. A character that is not a quadrant
// letter ends the carry and stays as it is. The result always has the length of the argument.
#include <QChar>
#include <QString>

QString EastNeighbour(const QString& letters);
QString WestNeighbour(const QString& letters);
QString NorthNeighbour(const QString& letters);
QString SouthNeighbour(const QString& letters);

// The letter of each position in a 2 by 2 block (slot 0 top-left, 1 top-right,
// 2 bottom-right, 3 bottom-left): q, r, s, t. A null QChar for any other slot.
QChar ChildLetter(int slot);

// The child of the tile in each view slot that touches the centre of the view:
// s, t, q, r. A null QChar for any other slot.
QChar InnerChildLetter(int slot);
