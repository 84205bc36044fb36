// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between the program's pixel buffers and QImage, for tests that build or inspect pictures
// with Qt's painting and pixel access.
#include "image/tile_pixels.h"

#include <QImage>

// A copy of tile as an image: Format_RGB888 or Format_RGB32 as tile's format; null for null.
QImage AsImage(const TilePixels& tile);

// A copy of image as RGB888 pixels (Xrgb32 when the image is Format_RGB32), transparency as
// the conversion to those formats takes it.
TilePixels AsTilePixels(const QImage& image);
