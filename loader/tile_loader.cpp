#include "loader/tile_loader.h"

#include "image/placeholder_tile.h"
#include "image/tile_decode.h"
#include "os/unique_fd.h"

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
// No tile comes near this (a 256 x 256 JPEG at the best quality is about 100 KiB); a larger
// file of a tile's name is refused unread, whatever put it there.
constexpr qint64 kLargestTileFile = 4 * 1024 * 1024;

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
// decode, or was cut short (no JPEG end marker, no PNG end chunk), is deleted and counted as a
// bad file.
CachedTile LoadCachedTile(const QString& path, QImage& image, TileLoaderContext& context,
                          TileBuffers& buffers) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return CachedTile::Absent;
    QByteArray& bytes = buffers.fileBytes;
    const UniqueFd file(
        status.st_size > kLargestTileFile ? -1 : ::open(name.constData(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid() || !ReadWholeFile(file, status.st_size, bytes) ||
        !DecodeTile(buffers.decoder, bytes, image)) {
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
    return CachedTile::Usable;
}

bool FetchTile(const TileRequest& tile, const QString& cacheFile, QImage& image,
               TileLoaderContext& context, TileBuffers& buffers) {
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
    if (!IsCompleteTile(body) || !DecodeTile(buffers.decoder, body, image)) {
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
    std::optional<TileBuffers> own;
    TileBuffers& buffers = context.buffers ? *context.buffers : own.emplace();

    if (context.mode != WorkMode::InternetOnly) {
        switch (LoadCachedTile(cacheFile, image, context, buffers)) {
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
