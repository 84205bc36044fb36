#pragma once
// PNG tiles become JPEG before they reach the loader, so the cache, the view and stitching
// only ever see JPEG.
#include <QByteArray>
#include <optional>

// The JPEG file of a 256 by 256 PNG tile at quality (1 to 100); nothing when data is not a
// PNG picture of that size (a bad file), or when its data would inflate past what such a
// picture can need (BoundedTilePng). Transparency is laid over white.
std::optional<QByteArray> PngTileAsJpeg(const QByteArray& data, int quality);
