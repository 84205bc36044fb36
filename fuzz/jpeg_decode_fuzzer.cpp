// SPDX-License-Identifier: GPL-3.0-or-later
// Tile data as the loader treats it: the end-marker check, then decoding. Every input is
// decoded, with or without the marker, since cut files reach the decoder from the cache too.
#include "fuzz/fuzz_check.h"
#include "image/jpeg_decode.h"
#include "image/jpeg_end_marker.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Looks at the last two bytes only, of data as short as none at all.
    [[maybe_unused]] const bool marked = EndsWithJpegEndMarker(bytes);

    // A failed decode must leave the image it was given alone.
    TilePixels image(1, 1, PixelFormat::Rgb888);
    image.Fill(0xff0000);
    const uchar* const before = image.constBits();
    if (DecodeJpeg(bytes, image)) {
        FUZZ_CHECK(!image.isNull());
        FUZZ_CHECK(image.format() == PixelFormat::Rgb888);
        FUZZ_CHECK(image.width() <= 16384 && image.height() <= 16384);
    } else {
        FUZZ_CHECK(image.constBits() == before);
        FUZZ_CHECK(image.Pixel(0, 0) == 0xff0000);
    }
    return 0;
}
