// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/stitch_rectangle.h"

#include "batch/jobs/stitch_job.h"
#include "batch/jobs/stitch_plan.h"
#include "batch/outputs/calibration_file.h"
#include "bench/earth_tiles.h"
#include "image/jpeg_decode.h"
#include "image/rgb_picture.h"
#include "loader/tile_cache.h"
#include "sources/tile_request.h"
#include "tests/support/fake_front_end.h"
#include "tests/support/fake_http_get.h"
#include "tiles/tile_side.h"
#include "tiles/view_moves.h"

#include <QElapsedTimer>
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

// A front end that only answers: the picture goes to path, and the moments the tile loop
// ends (the question for the file) and the save ends (the job's ending) are noted.
class QuietFrontEnd : public FakeFrontEnd {
public:
    QuietFrontEnd(const QString& path, const QElapsedTimer& clock) : clock_(clock) {
        outputFile = path;
    }
    std::optional<QString> AskOutputFile() override {
        loopEnd = clock_.nsecsElapsed();
        return FakeFrontEnd::AskOutputFile();
    }
    void OnEnded(JobEnding ending, const QString& message) override {
        saveEnd = clock_.nsecsElapsed();
        FakeFrontEnd::OnEnded(ending, message);
    }
    qint64 loopEnd = 0;
    qint64 saveEnd = 0;

private:
    const QElapsedTimer& clock_;
};

} // namespace

bool StitchFromCache(const QString& cacheRoot, const QString& output, int side,
                     ChildFigures& figures) {
    FakeHttpGet http; // never asked: the cache alone is read
    TileCounters counters;
    QElapsedTimer clock;
    clock.start();
    QuietFrontEnd front(output, clock);
    const StitchInputs inputs{
        .view = BenchView(),
        .counters = counters,
        .settings = BatchSettings{.retry = BatchRetry{3, 1, 25, 3, 3}, .scheduleDialog = false},
        .columns = side,
        .rows = side,
        .quality = kBenchQuality,
        .calibrationTemplate = CalibrationTemplate(),
        .availableMemory = std::nullopt,
        .output = output,
    };
    const JobServices services = front.Services(ViewSource{
        std::make_shared<PrefixTileSource>(kBenchPrefix, cacheRoot), WorkMode::CacheOnly, http});
    const bool done = RunStitch(inputs, services, front, front) == JobEnding::Done;
    if (front.loopEnd > 0) {
        figures.phaseSeconds[0] = static_cast<double>(front.loopEnd) / 1e9;
        figures.phaseSeconds[1] = static_cast<double>(front.saveEnd - front.loopEnd) / 1e9;
    }
    return done && counters.badFileErrors == 0 && http.requests.isEmpty();
}

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
    TilePixels image;
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
    TilePixels image;
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
