// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/tile_loader.h"

#include "image/placeholder_tile.h"
#include "image/tile_decode.h"
#include "loader/tile_cache.h"
#include "loader/tile_refresh.h"
#include "os/unique_fd.h"
#include "tiles/tile_side.h"

#include <QFile>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Data shorter than this cannot be a picture: a reply this short means the server has
// nothing for the tile, so the cached copy goes too.
constexpr qsizetype kShortestUsefulData = 5;

// Decodes a tile's data. A picture of any other size than a tile is a bad file whatever its
// source: it would show a quarter of itself, or stretch a single pixel over the view.
bool DecodeSquareTile(const QByteArray& data, TilePixels& image, TileBuffers& buffers) {
    const PixelRows& into = buffers.into;
    if (into.first != nullptr && into.width == kTileSide && into.height == kTileSide &&
        !IsPngData(data))
        return buffers.decodedInto = buffers.decoder.DecodeInto(data, into);
    return DecodeTile(buffers.decoder, data, image) && image.width() == kTileSide &&
           image.height() == kTileSide;
}

void Count(std::int32_t& counter, TileLoaderContext& context) {
    ++counter;
    context.hooks.ShowErrorCounts();
}

// Reads the whole of an open file of size bytes into the caller's buffer, whose capacity
// stays for the next tile: one open, one read, no allocation once the buffer is grown.
bool ReadWholeFile(const UniqueFd& file, qint64 size, QByteArray& bytes) {
    bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got =
            ::read(file.Get(), bytes.data() + done, static_cast<size_t>(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done); // a file cut short while it was read decodes as cut short
    return true;
}

enum class CachedTile { Usable, Absent, Undecodable };

// Reads and checks the cached file once. A file that is too large to be a tile, does not
// decode (or, only copied, is not laid out as a tile's file), or was cut short (no JPEG end
// marker, no PNG end chunk), is deleted and counted as a bad file.
CachedTile LoadCachedTile(const TileRequest& tile, const QString& path, TilePixels& image,
                          TileLoaderContext& context, TileBuffers& buffers) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return CachedTile::Absent;
    QByteArray& bytes = buffers.fileBytes;
    const UniqueFd file(
        status.st_size > kLargestTileFile ? -1 : ::open(name.constData(), O_RDONLY | O_CLOEXEC));
    const auto checked = [&] {
        if (!context.copy || !context.layoutOnly)
            return DecodeSquareTile(bytes, image, buffers);
        // A file cut short is told apart below, as it is after a decode.
        const bool cutShort = bytes.size() >= kShortestUsefulData && !IsCompleteTile(bytes) &&
                              (IsPngData(bytes) || bytes.startsWith("\xFF\xD8"));
        return cutShort || IsWholeTileLayout(bytes, kTileSide);
    };
    if (!file.Valid() || !ReadWholeFile(file, status.st_size, bytes) || !checked()) {
        QFile::remove(path);
        Count(context.counters.badFileErrors, context);
        return CachedTile::Undecodable;
    }
    if (bytes.size() >= kShortestUsefulData && !IsCompleteTile(bytes)) {
        Count(context.counters.badFileErrors, context);
        context.hooks.PumpEvents();
        QFile::remove(path);
        return CachedTile::Absent;
    }
    if (context.copy)
        (*context.copy)(tile, bytes);
    return CachedTile::Usable;
}

bool FetchTile(const TileRequest& tile, const QString& cacheFile, TilePixels& image,
               TileLoaderContext& context, TileBuffers& buffers) {
    QByteArray body;
    // The cache's new file is made while the server works on the tile; one that the tile
    // never reaches is gone again when the writer goes.
    CachedTileWriter file(cacheFile);
    context.http.WhileReplyIsAwaited([&file] { file.Prepare(); });
    std::optional<HttpFailure> failure = context.http.Get(tile.url, body);
    context.http.WhileReplyIsAwaited(nullptr); // for a client that did not take it
    if (failure) {
        // A request the cancel cut short, or the quota held back, tells nothing of the server.
        context.counters.dailyLimitReached |= failure->statusCode == kDailyLimitReached;
        if (!context.hooks.CancelRequested() && failure->statusCode != kDailyLimitReached)
            Count(context.counters.receiveErrors, context);
        return false;
    }
    context.counters.bytesReceived += body.size();
    if (body.size() < kShortestUsefulData) {
        QFile::remove(cacheFile);
        Count(context.counters.receiveErrors, context);
        return false;
    }
    // Only copied, a reply is checked as a cached file is: decoding it would cost the one
    // thread more than its transfer, while the next transfers wait for it.
    const bool whole = context.copy && context.layoutOnly
                           ? IsWholeTileLayout(body, kTileSide)
                           : IsCompleteTile(body) && DecodeSquareTile(body, image, buffers);
    if (!whole) {
        Count(context.counters.badFileErrors, context);
        return false;
    }
    // The tile is good even when the cache cannot keep it.
    if (!file.Store(body))
        Count(context.counters.writeErrors, context);
    else
        RememberValidators(context.refresh, cacheFile, context.http.LastValidators());
    if (context.copy)
        (*context.copy)(tile, body);
    return true;
}

} // namespace

bool TileLoader(const TileRequest& tile, TilePixels& image, TileLoaderContext& context) {
    context.hooks.ShowErrorCounts();
    context.hooks.PumpEvents();
    if (!tile.cacheFile)
        return false;
    const QString& cacheFile = *tile.cacheFile;
    std::optional<TileBuffers> own;
    TileBuffers& buffers = context.buffers ? *context.buffers : own.emplace();
    buffers.decodedInto = false; // says what this attempt did, whatever an earlier one did

    if (context.mode == WorkMode::CacheAndInternet && context.refresh)
        if (const std::optional<HeldCopy> held = DueCopy(*context.refresh, cacheFile))
            RefreshCachedTile(tile, *held, context, [&](const QByteArray& body) {
                return IsCompleteTile(body) && DecodeSquareTile(body, image, buffers);
            });
    if (context.mode != WorkMode::InternetOnly) {
        switch (LoadCachedTile(tile, cacheFile, image, context, buffers)) {
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
    return FetchTile(tile, cacheFile, image, context, buffers);
}
