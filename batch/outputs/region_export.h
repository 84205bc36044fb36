// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles into a file other programs read, of the format its name says: which
// blocks of tiles that takes, whether the file can hold them, and the writer of that kind.
// Tiles come as their cached bytes; the file appears under its name only when Finish
// succeeds, and a writer destroyed before that leaves nothing behind.
//
//     RegionExport out(path, format, blocks, attribution, quality);
//     bool ok = out.Begin();
//     for (each tile of the blocks) ok = ok && out.AddTile(key, jpeg);
//     ok = ok && out.Finish();
#include "batch/outputs/export_format.h"
#include "batch/outputs/tile_file_writer.h"
#include "tiles/tile_block.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class KmzWriter;

// The blocks an export of the view anchored at anchor down to depth writes, coarsest first:
// every level for the tile sets, where a reader picks the level that fits its zoom; only the
// deepest for KMZ, whose overlays have one level. Empty when PlanRegion has no region.
std::vector<TileBlock> ExportBlocks(ExportFormat format, const TileKey& anchor, int depth);

std::int64_t TileCountOf(const std::vector<TileBlock>& blocks);

// Why the blocks cannot go into a file of that format (a KMZ of more pictures than a Garmin
// handheld takes), in the user's words, or nothing when they can.
std::optional<QString> ExportRefusal(ExportFormat format, const std::vector<TileBlock>& blocks);

class RegionExport {
public:
    // attribution names the imagery's source in the file; quality is the KMZ pictures' JPEG
    // quality (the tile sets keep the tiles' own bytes, of the encoding given).
    RegionExport(QString path, ExportFormat format, std::vector<TileBlock> blocks,
                 QString attribution, int quality, TileEncoding encoding = TileEncoding::Jpeg);
    ~RegionExport();
    RegionExport(const RegionExport&) = delete;
    RegionExport& operator=(const RegionExport&) = delete;

    bool Begin();
    bool AddTile(const TileKey& key, const QByteArray& bytes);
    bool Finish();

    QString ErrorText() const;

private:
    QString path_;
    std::vector<TileBlock> blocks_;
    QString attribution_;
    TileEncoding encoding_;
    std::unique_ptr<TileFileWriter> tiles_;
    std::unique_ptr<KmzWriter> kmz_;
};
