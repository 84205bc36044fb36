// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of a writer of a one-file SQLite layout (MBTiles, GeoPackage, the RMaps layout)
// that is the same for all: the database built in a temporary file beside the target, all in
// one transaction, and renamed over the target when complete.
#include "batch/outputs/tile_file_writer.h"
#include "os/atomic_file.h"
#include "os/sqlite_database.h"

class SqliteFileWriter : public TileFileWriter {
public:
    bool Finish() override { return FinishDatabase(); }

protected:
    explicit SqliteFileWriter(QString path);
    ~SqliteFileWriter() override;

    // Creates the temporary file, runs schema on it and begins the transaction.
    bool OpenDatabase(const char* schema);
    SqliteDatabase& Database() { return db_; }
    bool Open() const { return open_; }
    // Fails with SQLite's message.
    bool FailInDatabase() { return Fail(db_.Error()); }
    // The statement inserting a tile, whose values InsertTile binds.
    bool PrepareTileInsert(const char* sql);
    // Runs the tile statement for a tile of its level's grid with the values of its row.
    bool InsertTile(const TileKey& key, std::initializer_list<SqlValue> values);
    // Commits the transaction, closes the database and puts the file in place.
    bool FinishDatabase();
    void Abandon() override;

private:
    AtomicFile file_; // declared first: the database closes before the file is removed
    SqliteDatabase db_;
    bool open_ = false;
    sqlite3_stmt* insertTile_ = nullptr;
};
