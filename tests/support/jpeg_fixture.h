// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JPEG files made on the spot for tests, so that no picture files live in the tree.
#include <QByteArray>
#include <QColor>

enum class FixtureColours { Rgb, Gray, AdobeCmyk };

// A baseline JPEG of the given size in one flat colour (converted to grey for Gray).
QByteArray MakeTestJpeg(int width, int height, QColor colour,
                        FixtureColours colours = FixtureColours::Rgb);
