// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/geotiff_writer.h"

#include "gis/gis_library.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace {

std::int64_t PixelBytes(const TileBlock& block) {
    if (block.columns > kMaxStreamedStitchSide ||
        block.rows > kMaxStreamedStitchSide) // and the product overflows
        return std::numeric_limits<std::int64_t>::max() / 4;
    return block.columns * block.rows * kTileSide * kTileSide * 3;
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
    : path_(std::move(path)), block_(block), options_(options) {}

GeoTiffWriter::~GeoTiffWriter() = default;

bool GeoTiffWriter::Begin() {
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr) {
        error_ = QStringLiteral("%1: %2").arg(path_, gis.error);
        return false;
    }
    gdal_ = gis.plugin->makeGeoTiffWriter(path_, block_, options_);
    return gdal_->Begin();
}

bool GeoTiffWriter::AddTileRow(const RgbPicture& band) {
    return gdal_ ? gdal_->AddTileRow(band) : NotBegun();
}

bool GeoTiffWriter::Finish(const GeoTiffProgress& progress) {
    return gdal_ ? gdal_->Finish(progress) : NotBegun();
}

bool GeoTiffWriter::NotBegun() {
    if (error_.isEmpty())
        error_ = QStringLiteral("%1: no picture is open").arg(path_);
    return false;
}

QString GeoTiffWriter::ErrorText() const {
    return gdal_ ? gdal_->ErrorText() : error_;
}
