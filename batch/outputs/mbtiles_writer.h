#pragma once
// Writing a region's tiles as an MBTiles 1.3 file (a SQLite database of tiles, read by
// GDAL, QGIS and phone map apps): the metadata, the tiles as their cached JPEG bytes with
// rows counted from the south (TMS), one tile per cell. Built under a temporary name and
// renamed over the target when complete; any failure or an unfinished writer removes it.
//
//     MbtilesWriter writer(path);
//     bool ok = writer.Begin(metadata);
//     for (each tile) ok = ok && writer.AddTile(level, cell, jpeg);
//     ok = ok && writer.Finish();
#include "os/atomic_file.h"
#include "tiles/tile_block.h"

#include <QByteArray>
#include <QString>
#include <memory>

struct MbtilesMetadata {
    QString name;
    QString attribution;
    int minZoom = 0;
    int maxZoom = 0;
    GeoBounds bounds; // the centre is its middle at minZoom
};

class MbtilesWriter {
public:
    explicit MbtilesWriter(QString path);
    ~MbtilesWriter();
    MbtilesWriter(const MbtilesWriter&) = delete;
    MbtilesWriter& operator=(const MbtilesWriter&) = delete;

    bool Begin(const MbtilesMetadata& metadata);
    // The tile at key (rows from the north, as everywhere else here); a second tile of the
    // same key replaces the first.
    bool AddTile(const TileKey& key, const QByteArray& jpeg);
    bool Finish();

    QString ErrorText() const { return error_; }

private:
    struct Database;
    bool Fail(const QString& what);

    QString path_;
    AtomicFile file_;
    std::unique_ptr<Database> db_;
    bool failed_ = false;
    QString error_;
};
