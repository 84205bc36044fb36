#include "batch/outputs/region_export.h"

#include "batch/outputs/kmz_writer.h"
#include "batch/outputs/mbtiles_writer.h"
#include "tiles/region_plan.h"

#include <QFileInfo>

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
    return std::nullopt;
}

RegionExport::RegionExport(QString path, ExportFormat format, std::vector<TileBlock> blocks,
                           QString attribution, int quality)
    : path_(std::move(path)), blocks_(std::move(blocks)), attribution_(std::move(attribution)) {
    // The map's title in a reader's list: the file's own name.
    const QString name = QFileInfo(path_).completeBaseName();
    if (format == ExportFormat::Kmz && !blocks_.empty())
        kmz_ = std::make_unique<KmzWriter>(path_, blocks_.back(), name, quality);
    else
        mbtiles_ = std::make_unique<MbtilesWriter>(path_);
}

RegionExport::~RegionExport() = default;

bool RegionExport::Begin() {
    if (kmz_)
        return kmz_->Begin();
    if (blocks_.empty())
        return false;
    const MbtilesMetadata metadata{.name = QFileInfo(path_).completeBaseName(),
                                   .attribution = attribution_,
                                   .minZoom = blocks_.front().level,
                                   .maxZoom = blocks_.back().level,
                                   .bounds = BlockBounds(blocks_.front())};
    return mbtiles_->Begin(metadata);
}

bool RegionExport::AddTile(const TileKey& key, const QByteArray& jpeg) {
    return kmz_ ? kmz_->AddTile(key, jpeg) : mbtiles_->AddTile(key, jpeg);
}

bool RegionExport::Finish() {
    return kmz_ ? kmz_->Finish() : mbtiles_->Finish();
}

QString RegionExport::ErrorText() const {
    if (kmz_)
        return kmz_->ErrorText();
    return blocks_.empty() ? QStringLiteral("%1: no region to export").arg(path_)
                           : mbtiles_->ErrorText();
}
