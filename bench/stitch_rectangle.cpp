#include "bench/stitch_rectangle.h"

#include "batch/rgb_picture.h"
#include "batch/stitch_plan.h"
#include "bench/earth_tiles.h"
#include "fetch/jpeg_decode.h"
#include "fetch/tile_cache.h"
#include "tiles/tile_side.h"
#include "tiles/view_moves.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const QString kBenchPrefix = QStringLiteral("http://tiles/kh?t=t");

namespace {

// A plain read into a buffer kept from file to file, as a C loop would do it.
bool ReadFile(const QString& path, QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    bool read = ::fstat(fd, &status) == 0;
    if (read) {
        bytes.resize(status.st_size);
        read = ::read(fd, bytes.data(), bytes.size()) == bytes.size();
    }
    ::close(fd);
    return read;
}

} // namespace

ViewUrls BenchView() {
    return ZoomIntoTile(kBenchPrefix + QStringLiteral("qrtqt"));
}

QList<RectangleFile> RectangleFiles(const QString& cacheRoot, int side, int levelsDown) {
    const int prefixLength = static_cast<int>(kBenchPrefix.size());
    const QString anchor = BenchView()[0] + QString(levelsDown, QLatin1Char('q'));
    const StitchPlan plan = PlanStitch(anchor.mid(prefixLength), side, side);
    QList<RectangleFile> files;
    for (const StitchTile& tile : plan.tiles) {
        const TileRequest request = MakeTileRequest(cacheRoot, kBenchPrefix, tile.letters);
        files.append({request.cacheFile.value_or(QString()), tile.x, tile.y});
    }
    return files;
}

bool FillCache(const QList<RectangleFile>& files, const QString& cacheRoot) {
    for (const RectangleFile& file : files) {
        const QByteArray jpeg = EarthTileJpeg(file.path.mid(cacheRoot.size()).section('.', 0, 0));
        if (jpeg.isEmpty() || !StoreTileFile(file.path, jpeg))
            return false;
    }
    return true;
}

bool DecodeAll(const QList<RectangleFile>& files) {
    QByteArray bytes;
    QImage image;
    JpegDecoder decoder;
    for (const RectangleFile& file : files)
        if (!ReadFile(file.path, bytes) || !decoder.Decode(bytes, image))
            return false;
    return true;
}

bool WriteAssembledPpm(const QList<RectangleFile>& files, int side, const QString& path) {
    std::optional<RgbPicture> picture = RgbPicture::Create(side * kTileSide, side * kTileSide);
    if (!picture)
        return false;
    QByteArray bytes;
    QImage image;
    for (const RectangleFile& file : files) {
        if (!ReadFile(file.path, bytes) || !DecodeJpeg(bytes, image))
            return false;
        picture->DrawTile(image, file.x, file.y);
    }
    QFile ppm(path);
    if (!ppm.open(QIODevice::WriteOnly))
        return false;
    ppm.write(
        QStringLiteral("P6\n%1 %2\n255\n").arg(picture->width()).arg(picture->height()).toLatin1());
    const auto rowBytes = static_cast<qint64>(picture->width() * 3);
    for (qint64 y = 0; y < picture->height(); ++y)
        if (ppm.write(reinterpret_cast<const char*>(picture->row(y)), rowBytes) != rowBytes)
            return false;
    return ppm.flush();
}

ChildFigures Cjpeg(const QString& input, const QString& output) {
    return RunProgram({"cjpeg", "-dct", "float", "-progressive", "-baseline", "-quality",
                       QString::number(kBenchQuality), "-outfile", output, input});
}
