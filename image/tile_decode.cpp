#include "image/tile_decode.h"

#include "image/jpeg_end_marker.h"
#include "image/png_tile.h"

bool IsPngData(const QByteArray& data) {
    return data.startsWith("\x89PNG\r\n\x1a\n");
}

bool IsCompleteTile(const QByteArray& data) {
    // The IEND chunk: no data, its type and its fixed CRC.
    static const QByteArray kPngEnd("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    return IsPngData(data) ? data.endsWith(kPngEnd) : EndsWithJpegEndMarker(data);
}

bool DecodeTile(JpegDecoder& decoder, const QByteArray& data, QImage& image) {
    if (!IsPngData(data))
        return decoder.Decode(data, image);
    std::optional<QImage> png = DecodePngTile(data);
    if (!png)
        return false;
    image = std::move(*png);
    return true;
}
