// SPDX-License-Identifier: GPL-3.0-or-later
// PNG tiles as a template source delivers them: only the chunks a picture needs are kept,
// data that would inflate past what a tile needs is refused, and what passes becomes a JPEG of
// exactly one tile.
#include "fuzz/fuzz_check.h"
#include "image/jpeg_decode.h"
#include "image/png_bounds.h"
#include "image/png_tile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<QByteArray> bounded = BoundedTilePng(bytes)) {
        FUZZ_CHECK(bounded->size() <= bytes.size());
        FUZZ_CHECK(bounded->startsWith("\x89PNG\r\n\x1a\n"));
        // What is kept is kept as it is: the same again.
        FUZZ_CHECK(BoundedTilePng(*bounded) == *bounded);
    }
    const int quality = size > 0 ? 1 + data[size - 1] % 100 : 90;
    if (const std::optional<QByteArray> jpeg = PngTileAsJpeg(bytes, quality)) {
        FUZZ_CHECK(BoundedTilePng(bytes).has_value());
        TilePixels tile;
        FUZZ_CHECK(DecodeJpeg(*jpeg, tile));
        FUZZ_CHECK(tile.width() == 256 && tile.height() == 256);
    }
    return 0;
}
