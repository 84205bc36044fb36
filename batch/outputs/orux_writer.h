// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a region's tiles as an OruxMaps offline map: a folder (the name given, "spb.orux")
// holding OruxMapsImages.db, the tiles by layer, and spb.otrk2.xml, the calibration of each
// layer. One layer per level, laid on that level's rectangle of tiles: in the database a
// tile's x and y count from the rectangle's north-west tile and z is its level; the XML gives
// each layer's size in tiles and the latitudes and longitudes of its corners on the
// spherical Web Mercator grid ("Mercator" on "WGS84").
//
// The folder is built under a temporary name beside the target and renamed when complete; an
// earlier map of the same name is replaced only then, and only if it is one (nothing in it
// but a map's two kinds of files).
#include "batch/outputs/tile_file_writer.h"
#include "os/sqlite_database.h"

#include <QTemporaryDir>
#include <memory>
#include <optional>

inline constexpr char kOruxDatabaseName[] = "OruxMapsImages.db";

// Why the folder at path cannot be written or replaced, or nothing when it can.
std::optional<QString> OruxFolderRefusal(const QString& path);

// The calibration file of a map of that name whose layers are the blocks.
QByteArray OruxCalibration(const QString& name, const std::vector<TileBlock>& layers);

class OruxWriter : public TileFileWriter {
public:
    explicit OruxWriter(QString path);
    ~OruxWriter() override;

    // metadata.levels gives the layers and must not be empty.
    bool Begin(const TilesetMetadata& metadata) override;
    bool AddTile(const TileKey& key, const QByteArray& bytes) override;
    bool Finish() override;

private:
    void Abandon() override;
    bool PutInPlace();

    QString name_;
    std::vector<TileBlock> layers_;
    std::unique_ptr<QTemporaryDir> folder_;
    SqliteDatabase db_; // declared after the folder: closed before it is removed
    sqlite3_stmt* insertTile_ = nullptr;
    bool open_ = false;
};
