// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PNG tiles: decoded for the view, the stitch and the KMZ pictures, or made JPEG where a JPEG
// is wanted.
#include "image/tile_pixels.h"

#include <QByteArray>
#include <optional>

// The picture of a 256 by 256 PNG tile in format, transparency laid over white; nothing when
// data is not a PNG picture of that size (a bad file). The header alone gives the size, so an
// oversized picture is never decoded.
std::optional<TilePixels> DecodePngTile(const QByteArray& data,
                                        PixelFormat format = PixelFormat::Rgb888);

// The JPEG file of a 256 by 256 PNG tile at quality (1 to 100); nothing when data is not a
// PNG picture of that size (a bad file), or when its data would inflate past what such a
// picture can need (BoundedTilePng). Transparency is laid over white.
std::optional<QByteArray> PngTileAsJpeg(const QByteArray& data, int quality);
