// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_backends.h"

#include "gis/gdal_session.h"
#include "os/atomic_file.h"
#include "os/temp_files.h"

#include "tiles/tile_side.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include <limits>
#include <vector>

namespace {

constexpr int kWebMercatorEpsg = 3857;

// An argument list for GDAL's C calls, freed on every way out.
class GdalArgs {
public:
    GdalArgs& Add(const QByteArray& argument) {
        list_ = CSLAddString(list_, argument.constData());
        return *this;
    }
    GdalArgs& Option(const char* flag, const QByteArray& value) { return Add(flag).Add(value); }
    ~GdalArgs() { CSLDestroy(list_); }
    char** get() const { return list_; }

private:
    char** list_ = nullptr;
};

int ProgressBridge(double done, const char*, void* data) {
    const auto& progress = *static_cast<const GeoTiffProgress*>(data);
    return !progress || progress(done) ? TRUE : FALSE;
}

class GdalGeoTiffWriter final : public GeoTiffBackend {
public:
    GdalGeoTiffWriter(QString path, TileBlock block, GeoTiffOptions options);
    ~GdalGeoTiffWriter() override;
    GdalGeoTiffWriter(const GdalGeoTiffWriter&) = delete;
    GdalGeoTiffWriter& operator=(const GdalGeoTiffWriter&) = delete;

    bool Begin() override;
    bool AddTileRow(const RgbPicture& band) override;
    bool Finish(const GeoTiffProgress& progress) override;
    QString ErrorText() const override { return error_; }

private:
    bool Fail(const QString& what);
    void CloseScratch();

    QString path_;
    TileBlock block_;
    GeoTiffOptions options_;
    GdalSession gdal_;
    QTemporaryFile scratchFile_;
    TempFileHold scratchHold_; // the scratch file is ours while this writer lives
    void* scratch_ = nullptr;  // GDALDatasetH of the scratch file while rows arrive
    std::int64_t rowsWritten_ = 0;
    bool failed_ = false;
    QString error_;
};

GdalGeoTiffWriter::GdalGeoTiffWriter(QString path, TileBlock block, GeoTiffOptions options)
    : path_(std::move(path)), block_(block), options_(options),
      scratchFile_(QFileInfo(path_).absolutePath() + u'/' + QLatin1StringView(kTempPrefix) +
                   QStringLiteral("XXXXXX") + QLatin1StringView(kScratchTiffSuffix)) {}

GdalGeoTiffWriter::~GdalGeoTiffWriter() {
    CloseScratch();
}

bool GdalGeoTiffWriter::Fail(const QString& what) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = QStringLiteral("%1: %2").arg(path_, what);
    return false;
}

void GdalGeoTiffWriter::CloseScratch() {
    if (scratch_ != nullptr)
        GDALClose(static_cast<GDALDatasetH>(scratch_));
    scratch_ = nullptr;
}

bool GdalGeoTiffWriter::Begin() {
    if (block_.columns < 1 || block_.rows < 1 || block_.columns > kMaxStreamedStitchSide ||
        block_.rows > kMaxStreamedStitchSide)
        return Fail(QStringLiteral("the picture is larger than a GeoTIFF can be"));
    if (!scratchFile_.open())
        return Fail(scratchFile_.errorString());
    scratchHold_ = TempFileHold::OfDescriptor(static_cast<int>(scratchFile_.handle()));
    scratchFile_.close(); // GDAL writes it by name
    // Lossless and fast: the scratch is read back twice (overviews, then the COG) and must
    // not lose quality before the one compression that the user chose.
    GdalArgs create;
    create.Add("TILED=YES").Add("BLOCKXSIZE=256").Add("BLOCKYSIZE=256");
    create.Add("COMPRESS=ZSTD").Add("ZSTD_LEVEL=1").Add("BIGTIFF=YES");
    GDALDriverH gtiff = GDALGetDriverByName("GTiff");
    const QByteArray name = QFile::encodeName(scratchFile_.fileName());
    scratch_ =
        gtiff == nullptr
            ? nullptr
            : GDALCreate(gtiff, name.constData(), static_cast<int>(block_.columns * kTileSide),
                         static_cast<int>(block_.rows * kTileSide), 3, GDT_Byte, create.get());
    if (scratch_ == nullptr)
        return Fail(GdalSession::LastWriteError(path_));
    std::array<double, 6> transform = BlockGeoTransform(block_);
    OGRSpatialReferenceH webMercator = OSRNewSpatialReference(nullptr);
    const bool placed = OSRImportFromEPSG(webMercator, kWebMercatorEpsg) == OGRERR_NONE &&
                        GDALSetSpatialRef(scratch_, webMercator) == CE_None &&
                        GDALSetGeoTransform(scratch_, transform.data()) == CE_None;
    OSRDestroySpatialReference(webMercator);
    return placed || Fail(GdalSession::LastWriteError(path_));
}

bool GdalGeoTiffWriter::AddTileRow(const RgbPicture& band) {
    if (failed_ || scratch_ == nullptr)
        return Fail(QStringLiteral("no picture is open"));
    const std::int64_t width = block_.columns * kTileSide;
    if (band.width() != width || band.height() != kTileSide || rowsWritten_ >= block_.rows)
        return Fail(QStringLiteral("a row of tiles does not fit the picture"));
    int bands[] = {1, 2, 3};
    // RgbPicture rows follow one another without padding: one interleaved RGB buffer.
    void* pixels = const_cast<unsigned char*>(band.row(0));
    const CPLErr written =
        GDALDatasetRasterIOEx(scratch_, GF_Write, 0, static_cast<int>(rowsWritten_ * kTileSide),
                              static_cast<int>(width), kTileSide, pixels, static_cast<int>(width),
                              kTileSide, GDT_Byte, 3, bands, 3, width * 3, 1, nullptr);
    if (written != CE_None)
        return Fail(GdalSession::LastWriteError(path_));
    ++rowsWritten_;
    return true;
}

bool GdalGeoTiffWriter::Finish(const GeoTiffProgress& progress) {
    if (failed_ || scratch_ == nullptr)
        return Fail(QStringLiteral("no picture is open"));
    if (rowsWritten_ != block_.rows)
        return Fail(QStringLiteral("the picture is missing rows of tiles"));
    CloseScratch(); // flushes the last tiles
    AtomicFile target(path_);
    if (!target.Open())
        return Fail(target.ErrorText());
    GdalArgs translate;
    translate.Option("-of", "COG");
    const bool jpeg = options_.compression == GeoTiffCompression::Jpeg;
    translate.Option("-co", jpeg ? "COMPRESS=JPEG" : "COMPRESS=DEFLATE");
    if (jpeg) {
        const QByteArray quality = QByteArray::number(options_.quality);
        translate.Option("-co", "QUALITY=" + quality).Option("-co", "OVERVIEW_QUALITY=" + quality);
    }
    translate.Option("-co", "BLOCKSIZE=256").Option("-co", "OVERVIEWS=AUTO");
    translate.Option("-co", "RESAMPLING=AVERAGE").Option("-co", "BIGTIFF=IF_SAFER");
    // GDAL would otherwise delete the temporary file and make a new one of that name,
    // which the rename would then carry without its sync.
    translate.Option("-co", "QUIET_DELETE_ON_CREATE_COPY=NO");
    GDALTranslateOptions* options = GDALTranslateOptionsNew(translate.get(), nullptr);
    if (options == nullptr)
        return Fail(GdalSession::LastWriteError(path_));
    GDALTranslateOptionsSetProgress(options, ProgressBridge,
                                    const_cast<GeoTiffProgress*>(&progress));
    const QByteArray scratchName = QFile::encodeName(scratchFile_.fileName());
    const QByteArray targetName = QFile::encodeName(target.TemporaryPath());
    CPLErrorReset();
    GDALDatasetH source = GDALOpen(scratchName.constData(), GA_ReadOnly);
    GDALDatasetH result = nullptr;
    if (source != nullptr)
        result = GDALTranslate(targetName.constData(), source, options, nullptr);
    GDALTranslateOptionsFree(options);
    if (result != nullptr)
        GDALClose(result);
    const bool made = result != nullptr && CPLGetLastErrorType() < CE_Failure;
    if (source != nullptr)
        GDALClose(source);
    scratchFile_.remove(); // the sooner the better: it is as large as the picture
    scratchHold_.Release();
    if (!made) {
        if (CPLGetLastErrorNo() == CPLE_UserInterrupt) {
            failed_ = true;
            return false;
        }
        return Fail(GdalSession::LastWriteError(path_));
    }
    return target.Commit(AtomicFile::Durability::Synced) || Fail(target.ErrorText());
}

} // namespace

std::unique_ptr<GeoTiffBackend> MakeGdalGeoTiffWriter(const QString& path, const TileBlock& block,
                                                      const GeoTiffOptions& options) {
    return std::make_unique<GdalGeoTiffWriter>(path, block, options);
}
