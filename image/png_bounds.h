// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a PNG tile may cost to decode. A PNG is a few chunks, the picture's rows deflated in
// its IDAT chunks; a megabyte of them can inflate to a gigabyte, all of which a decoder reads
// through even when the header promises 256 by 256 pixels. Measured here, the inflating stops
// as soon as the data outgrows what any 256 by 256 picture can need.
#include <QByteArray>
#include <optional>

// The most inflated bytes a 256 by 256 PNG can hold: 8 bytes a pixel (16-bit RGBA) plus a
// filter byte on each row of the 7 interlace passes (480 rows together).
inline constexpr qint64 kMaxTileInflatedBytes = 256 * 256 * 8 + 480;

// The PNG with only the chunks a picture needs (header, palette, transparency, gamma, data,
// end), or nothing when data is no sound chunk sequence or its picture data would inflate past
// kMaxTileInflatedBytes. Compressed text and colour profile chunks, a bomb of their own, go.
std::optional<QByteArray> BoundedTilePng(const QByteArray& data);
