#include "gis/geotiff_writer.h"

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

constexpr std::int64_t kMaxSideTiles = kMaxStreamedStitchSide;

std::int64_t PixelBytes(const TileBlock& block) {
    if (block.columns > kMaxSideTiles || block.rows > kMaxSideTiles) // and the product overflows
        return std::numeric_limits<std::int64_t>::max() / 4;
    return block.columns * block.rows * kTileSide * kTileSide * 3;
}

int ProgressBridge(double done, const char*, void* data) {
    const auto& progress = *static_cast<const GeoTiffProgress*>(data);
    return !progress || progress(done) ? TRUE : FALSE;
}

} // namespace

std::int64_t GeoTiffDiskNeed(const TileBlock& block, GeoTiffCompression compression) {
    // Overviews add a third at most (1/4 + 1/16 + ...); JPEG at any quality stays well
    // under a quarter of the raw pixels, Deflate of photographs near all of them.
    const std::int64_t raw = PixelBytes(block);
    const std::int64_t result = compression == GeoTiffCompression::Jpeg ? raw / 4 : raw;
    return raw + result + (raw + result) / 3;
}

bool GeoTiffFitsOnDisk(const QString& path, const TileBlock& block,
                       GeoTiffCompression compression) {
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    return disk.isValid() && disk.bytesAvailable() >= GeoTiffDiskNeed(block, compression);
}

GeoTiffWriter::GeoTiffWriter(QString path, TileBlock block, GeoTiffOptions options)
    : path_(std::move(path)), block_(block), options_(options),
      scratchFile_(QFileInfo(path_).absolutePath() + u'/' + QLatin1StringView(kTempPrefix) +
                   QStringLiteral("XXXXXX") + QLatin1StringView(kScratchTiffSuffix)) {}

GeoTiffWriter::~GeoTiffWriter() {
    CloseScratch();
}

bool GeoTiffWriter::Fail(const QString& what) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = QStringLiteral("%1: %2").arg(path_, what);
    return false;
}

void GeoTiffWriter::CloseScratch() {
    if (scratch_ != nullptr)
        GDALClose(static_cast<GDALDatasetH>(scratch_));
    scratch_ = nullptr;
}

bool GeoTiffWriter::Begin() {
    if (block_.columns < 1 || block_.rows < 1 || block_.columns > kMaxSideTiles ||
        block_.rows > kMaxSideTiles)
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

bool GeoTiffWriter::AddTileRow(const RgbPicture& band) {
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

bool GeoTiffWriter::Finish(const GeoTiffProgress& progress) {
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
