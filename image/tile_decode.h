// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tile's file as a source sends it and the cache keeps it: a JPEG, or a PNG for sources of
// maps with labels and lines, told apart by their first bytes. A PNG source's cache may still
// hold JPEG tiles from before PNG tiles were kept as PNG: both load.
#include "image/jpeg_decode.h"

#include <QByteArray>

// Whether data starts with the PNG signature.
bool IsPngData(const QByteArray& data);

// Whether data is a whole tile file, not one cut short: a PNG ends in its IEND chunk, any other
// data is taken for a JPEG and ends in the JPEG end marker.
bool IsCompleteTile(const QByteArray& data);

// Whether data is laid out as a whole tile's file of side x side pixels, judged without
// decoding it: a JPEG's markers and end marker, a PNG's header chunk and end chunk. What a tile
// that is only copied is checked for.
bool IsWholeTileLayout(const QByteArray& data, int side);

// Decodes a tile's file into an image of the decoder's format: a PNG as DecodePngTile, any other
// data as a JPEG with decoder. On failure image is left as it was.
bool DecodeTile(JpegDecoder& decoder, const QByteArray& data, TilePixels& image);
