// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/placeholder_tile.h"

#include "image/text_library.h"
#include "tiles/tile_side.h"

TilePixels PlaceholderTile(const QString& firstLine, const QString& secondLine) {
    TilePixels tile(kTileSide, kTileSide, PixelFormat::Rgb888);
    tile.Fill(0xc0c0c0);
    // Text takes a GUI application's fonts. The commands that run without one (prefill,
    // export) never show nor write the stand-in, only count it missing: plain grey will do,
    // and the plugin is not loaded for them.
    if (tile.isNull() || !TextCanBeDrawn())
        return tile;
    if (const TextPlugin* plugin = TextLibrary())
        plugin->drawLines(tile.bits(), tile.width(), tile.height(), tile.bytesPerLine(), firstLine,
                          108, secondLine, 148);
    return tile;
}
