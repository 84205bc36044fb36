// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/stitch_output.h"

#include "batch/outputs/calibration_file.h"
#include "batch/outputs/world_file.h"
#include "image/jpeg_encode.h"
#include "os/atomic_file.h"

#include <QFileInfo>
#include <list>

namespace {

constexpr auto kDurability = AtomicFile::Durability::Synced;

// A file of the set with its content still to be written.
struct PendingFile {
    QString path;
    QByteArray bytes;
};

} // namespace

StitchFormat StitchFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("tif") || suffix == QLatin1String("tiff") ? StitchFormat::GeoTiff
                                                                             : StitchFormat::Jpeg;
}

StitchOutput::StitchOutput(QString path, StitchOutputOptions options)
    : path_(std::move(path)), options_(std::move(options)), format_(StitchFormatOf(path_)) {}

StitchOutput::~StitchOutput() = default;

bool StitchOutput::Fail(const QString& path, const QString& reason) {
    failedPath_ = path;
    error_ = reason;
    return false;
}

bool StitchOutput::FailGeoTiff() {
    const QString reason = geoTiff_ ? geoTiff_->ErrorText() : QString();
    // The writer stops on a cancel without a reason: there is nothing to tell the user.
    cancelled_ = geoTiff_ && reason.isEmpty();
    geoTiff_.reset(); // its scratch file goes at once
    // The writer names the file in its text already.
    const QString prefix = path_ + QStringLiteral(": ");
    return Fail(path_, reason.startsWith(prefix) ? reason.mid(prefix.size()) : reason);
}

bool StitchOutput::Begin() {
    const GeoTiffOptions geoTiff{GeoTiffCompression::Jpeg, options_.quality};
    geoTiff_ = std::make_unique<GeoTiffWriter>(path_, options_.block, geoTiff);
    return geoTiff_->Begin() || FailGeoTiff();
}

bool StitchOutput::AddTileRow(const RgbPicture& band) {
    return (geoTiff_ && geoTiff_->AddTileRow(band)) || FailGeoTiff();
}

bool StitchOutput::Finish(const GeoTiffProgress& progress) {
    return (geoTiff_ && geoTiff_->Finish(progress)) || FailGeoTiff();
}

bool StitchOutput::SaveWhole(RgbPicture& picture, const GeoTiffProgress& progress) {
    if (format_ == StitchFormat::Jpeg)
        return SaveJpeg(picture);
    if (!Begin())
        return false;
    for (qint64 top = 0; top < picture.height(); top += kTileSide) {
        const std::optional<RgbPicture> band = picture.CopyRows(top, top + kTileSide);
        if (!band)
            return Fail(path_, QStringLiteral("out of memory"));
        picture.ReleaseRows(top, top + kTileSide);
        if (!AddTileRow(*band))
            return false;
    }
    return Finish(progress);
}

// The picture is encoded straight into a temporary file beside the chosen one, and the
// files beside it are written the same way; only when all are complete do they replace the
// files of their names, so a failure on the way leaves the earlier set as it was.
bool StitchOutput::SaveJpeg(RgbPicture& picture) {
    std::list<AtomicFile> files; // a list: AtomicFile does not move
    AtomicFile& jpeg = files.emplace_back(path_);
    const bool encoded =
        jpeg.Open() && EncodeProgressiveJpegReleasing(
                           picture, options_.quality, [&jpeg](const char* data, std::size_t size) {
                               return jpeg.Write(data, static_cast<qint64>(size));
                           });
    if (!encoded)
        return Fail(path_, jpeg.ErrorText());
    jpeg.StartFlush();
    const CalibrationInput calibration{.columns = static_cast<int>(options_.block.columns),
                                       .rows = static_cast<int>(options_.block.rows),
                                       .picturePath = path_,
                                       .anchorPath = options_.anchorLetters,
                                       .southEastPath = options_.southEastLetters};
    std::vector<PendingFile> beside{
        {CalibrationFilePath(path_),
         CalibrationFileBytes(options_.calibrationTemplate, calibration)}};
    for (BesideFile& world : WorldFiles(path_, options_.block))
        beside.push_back({world.path, world.text});
    for (const PendingFile& pending : beside) {
        AtomicFile& file = files.emplace_back(pending.path);
        if (!file.Open() || !file.Write(pending.bytes))
            return Fail(pending.path, file.ErrorText());
        file.StartFlush();
    }
    // Every file is on its way to the disk before the first sync waits for it.
    for (AtomicFile& file : files)
        if (!file.Complete(kDurability))
            return Fail(file.Path(), file.ErrorText());
    // All of them lie in one directory: one sync after the last rename makes every name last,
    // where a sync after each rename costs a flush of the disk's cache apiece.
    for (AtomicFile& file : files) {
        if (!file.Commit(kDurability, AtomicFile::DirectorySync::ByCaller)) {
            SyncDirectoryOf(path_); // the names put in place so far
            return Fail(file.Path(), file.ErrorText());
        }
    }
    SyncDirectoryOf(path_);
    return true;
}
