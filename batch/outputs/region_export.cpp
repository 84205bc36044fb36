// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/region_export.h"

#include "batch/outputs/geopackage_writer.h"
#include "batch/outputs/kmz_writer.h"
#include "batch/outputs/mbtiles_writer.h"
#include "batch/outputs/orux_writer.h"
#include "batch/outputs/pmtiles_writer.h"
#include "batch/outputs/sqlitedb_writer.h"
#include "tiles/region_plan.h"

#include <QFileInfo>

namespace {

std::unique_ptr<TileFileWriter> TileWriterFor(ExportFormat format, const QString& path) {
    switch (format) {
    case ExportFormat::GeoPackage:
        return std::make_unique<GeoPackageWriter>(path);
    case ExportFormat::Sqlitedb:
        return std::make_unique<SqlitedbWriter>(path);
    case ExportFormat::Orux:
        return std::make_unique<OruxWriter>(path);
    case ExportFormat::Pmtiles:
        return std::make_unique<PmtilesWriter>(path);
    case ExportFormat::Mbtiles:
    case ExportFormat::Kmz:
        break;
    }
    return std::make_unique<MbtilesWriter>(path);
}

// The map's title in a reader's list: the file's own name.
QString TitleOf(const QString& path) {
    return QFileInfo(WithoutTrailingSlashes(path)).completeBaseName();
}

} // namespace

std::vector<TileBlock> ExportBlocks(ExportFormat format, const TileKey& anchor, int depth) {
    std::vector<TileBlock> blocks = PlanRegion(anchor, depth);
    if (format == ExportFormat::Kmz && blocks.size() > 1)
        blocks.erase(blocks.begin(), blocks.end() - 1);
    return blocks;
}

std::int64_t TileCountOf(const std::vector<TileBlock>& blocks) {
    std::int64_t tiles = 0;
    for (const TileBlock& block : blocks)
        tiles += block.columns * block.rows;
    return tiles;
}

std::optional<QString> ExportRefusal(ExportFormat format, const std::vector<TileBlock>& blocks) {
    if (format == ExportFormat::Kmz && !blocks.empty())
        return KmzRefusal(blocks.back());
    if (format == ExportFormat::Pmtiles && !blocks.empty() && blocks.back().level > 31)
        return QStringLiteral("PMTiles holds levels up to 31");
    return std::nullopt;
}

RegionExport::RegionExport(QString path, ExportFormat format, std::vector<TileBlock> blocks,
                           QString attribution, int quality, TileEncoding encoding)
    : path_(std::move(path)), blocks_(std::move(blocks)), attribution_(std::move(attribution)),
      encoding_(encoding) {
    if (format == ExportFormat::Kmz && !blocks_.empty())
        kmz_ = std::make_unique<KmzWriter>(path_, blocks_.back(), TitleOf(path_), quality,
                                           attribution_);
    else
        tiles_ = TileWriterFor(format, path_);
}

RegionExport::~RegionExport() = default;

bool RegionExport::Begin() {
    if (kmz_)
        return kmz_->Begin();
    if (blocks_.empty())
        return false;
    const TilesetMetadata metadata{.name = TitleOf(path_),
                                   .attribution = attribution_,
                                   .minZoom = blocks_.front().level,
                                   .maxZoom = blocks_.back().level,
                                   .bounds = BlockBounds(blocks_.front()),
                                   .encoding = encoding_,
                                   .levels = blocks_};
    return tiles_->Begin(metadata);
}

bool RegionExport::AddTile(const TileKey& key, const QByteArray& bytes) {
    return kmz_ ? kmz_->AddTile(key, bytes) : tiles_->AddTile(key, bytes);
}

bool RegionExport::Finish() {
    return kmz_ ? kmz_->Finish() : tiles_->Finish();
}

QString RegionExport::ErrorText() const {
    if (kmz_)
        return kmz_->ErrorText();
    return blocks_.empty() ? QStringLiteral("%1: no region to export").arg(path_)
                           : tiles_->ErrorText();
}
