// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles as one PMTiles version 3 archive (web maps and the apps that read
// it): the 127-byte header, the root directory within the first 16 KiB, the JSON metadata
// with the attribution, leaf directories when the root alone would not fit, and the tile
// data, each distinct tile stored once however many cells show it. Tiles go to the file as
// they come; the directories, sorted by the Hilbert tile ids of the layout, are written
// when the set is complete, into room kept for them at the start.
#include "batch/outputs/tile_file_writer.h"
#include "os/atomic_file.h"

#include <QFile>
#include <QHash>
#include <cstdint>
#include <vector>

// The layout's id of a tile: the cells of every coarser level first, then the tile's place
// along the Hilbert curve over its level's grid.
std::uint64_t PmtilesTileId(const TileKey& key);

class PmtilesWriter : public TileFileWriter {
public:
    explicit PmtilesWriter(QString path);
    ~PmtilesWriter() override;

    bool Begin(const TilesetMetadata& metadata) override;
    bool AddTile(const TileKey& key, const QByteArray& bytes) override;
    bool Finish() override;

    struct Entry {
        std::uint64_t tileId = 0;
        std::uint64_t offset = 0; // from the start of the tile data
        std::uint32_t length = 0;
        std::uint32_t runLength = 1; // 0 for a leaf directory
    };

private:
    std::optional<std::uint64_t> StoredCopy(const QByteArray& bytes, std::size_t hash);
    QByteArray Header(const std::vector<Entry>& tiles, std::uint64_t rootLength,
                      std::uint64_t metadataLength, std::uint64_t leavesLength) const;
    void Abandon() override;

    AtomicFile file_;
    QFile readBack_; // the temporary file, to compare a tile with one stored before
    TilesetMetadata metadata_;
    bool open_ = false;
    std::uint64_t dataLength_ = 0;
    std::vector<Entry> entries_; // in the order the tiles came
    // Where each distinct content lies, by its hash and length.
    QMultiHash<std::pair<std::size_t, std::uint32_t>, std::uint64_t> stored_;
    std::uint64_t contents_ = 0;
};
