#include "fetch/tile_loader.h"

#include "fetch/jpeg_decode.h"
#include "fetch/jpeg_end_marker.h"
#include "fetch/placeholder_tile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Data shorter than this cannot be a picture: a reply this short means the server has
// nothing for the tile, so the cached copy goes too.
constexpr qsizetype kShortestUsefulData = 5;
// No tile comes near this (a 256 x 256 JPEG at the best quality is about 100 KiB); a larger
// file of a tile's name is refused unread, whatever put it there.
constexpr qint64 kLargestTileFile = 4 * 1024 * 1024;

void Count(std::int32_t& counter, TileLoaderContext& context) {
    ++counter;
    context.hooks.ShowErrorCounts();
}

bool ReadWholeFile(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

enum class CachedTile { Usable, Absent, Undecodable };

// Reads and checks the cached file once. A file that is too large to be a tile, does not
// decode, or was cut short (no end marker), is deleted and counted as a bad file.
CachedTile LoadCachedTile(const QString& path, QImage& image, TileLoaderContext& context) {
    const QFileInfo info(path);
    if (!info.isFile())
        return CachedTile::Absent;
    QByteArray bytes;
    if (info.size() > kLargestTileFile || !ReadWholeFile(path, bytes) ||
        !DecodeJpeg(bytes, image)) {
        QFile::remove(path);
        Count(context.counters.badFileErrors, context);
        return CachedTile::Undecodable;
    }
    if (bytes.size() >= kShortestUsefulData && !EndsWithJpegEndMarker(bytes)) {
        Count(context.counters.badFileErrors, context);
        context.hooks.PumpEvents();
        QFile::remove(path);
        return CachedTile::Absent;
    }
    return CachedTile::Usable;
}

bool FetchTile(const TileRequest& tile, const QString& cacheFile, QImage& image,
               TileLoaderContext& context) {
    QByteArray body;
    if (context.http.Get(tile.url, body)) {
        Count(context.counters.receiveErrors, context);
        return false;
    }
    context.counters.bytesReceived += body.size();
    if (body.size() < kShortestUsefulData) {
        QFile::remove(cacheFile);
        Count(context.counters.receiveErrors, context);
        return false;
    }
    if (!EndsWithJpegEndMarker(body) || !DecodeJpeg(body, image)) {
        Count(context.counters.badFileErrors, context);
        return false;
    }
    // The tile is good even when the cache cannot keep it.
    if (!StoreTileFile(cacheFile, body))
        Count(context.counters.writeErrors, context);
    return true;
}

} // namespace

bool TileLoader(const TileRequest& tile, QImage& image, TileLoaderContext& context) {
    context.hooks.ShowErrorCounts();
    context.hooks.PumpEvents();
    if (!tile.cacheFile)
        return false;
    const QString& cacheFile = *tile.cacheFile;

    if (context.mode != WorkMode::InternetOnly) {
        switch (LoadCachedTile(cacheFile, image, context)) {
        case CachedTile::Usable:
            return true;
        case CachedTile::Undecodable:
            return false; // not fetched now; the file is gone, so the next call fetches
        case CachedTile::Absent:
            break;
        }
    }
    if (context.mode == WorkMode::CacheOnly) {
        image = PlaceholderTile(QStringLiteral("Отсутствует в кэше"), QuadPathLine(tile.quadPath));
        return true;
    }
    return FetchTile(tile, cacheFile, image, context);
}
