// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/tile_decode.h"

#include "image/jpeg_end_marker.h"
#include "image/jpeg_layout.h"
#include "image/png_tile.h"

bool IsPngData(const QByteArray& data) {
    return data.startsWith("\x89PNG\r\n\x1a\n");
}

bool IsCompleteTile(const QByteArray& data) {
    // The IEND chunk: no data, its type and its fixed CRC.
    static const QByteArray kPngEnd("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    return IsPngData(data) ? data.endsWith(kPngEnd) : EndsWithJpegEndMarker(data);
}

namespace {

quint32 BigEndian(const QByteArray& data, qsizetype at) {
    quint32 value = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        value = value << 8 | static_cast<quint8>(data[i]);
    return value;
}

} // namespace

bool IsWholeTileLayout(const QByteArray& data, int side) {
    if (!IsPngData(data))
        return WholeJpegFrameSize(data) == QSize(side, side);
    // The signature, then the header chunk: its length (13), type, width and height.
    constexpr qsizetype kHeaderEnd = 8 + 8 + 13 + 4;
    const auto wanted = static_cast<quint32>(side);
    return data.size() >= kHeaderEnd + 12 && BigEndian(data, 8) == 13 &&
           data.mid(12, 4) == "IHDR" && BigEndian(data, 16) == wanted &&
           BigEndian(data, 20) == wanted && IsCompleteTile(data);
}

bool DecodeTile(JpegDecoder& decoder, const QByteArray& data, TilePixels& image) {
    if (!IsPngData(data))
        return decoder.Decode(data, image);
    std::optional<TilePixels> png = DecodePngTile(data, decoder.Format());
    if (!png)
        return false;
    image = std::move(*png);
    return true;
}
