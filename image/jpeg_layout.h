// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether bytes are laid out as a whole JPEG file, judged without decoding them: the
// start-of-image marker, marker segments whose lengths stay inside the bytes, a frame header
// before the start of scan, and the end-of-image marker as the last two bytes. What a tile
// that is only copied (into the cache, into an export) is checked for: a file cut short, or
// anything else under a tile's name, fails it at the cost of a few bytes read, where a decode
// would cost the whole picture's.
#include <QByteArray>
#include <QSize>

#include <optional>

// The frame header's width and height when data is laid out as a whole JPEG, else nothing.
std::optional<QSize> WholeJpegFrameSize(const QByteArray& data);

inline bool IsWholeJpegLayout(const QByteArray& data) {
    return WholeJpegFrameSize(data).has_value();
}
