#pragma once
// The part of a writer of a one-file SQLite layout (MBTiles, GeoPackage, the RMaps layout)
// that is the same for all: the database built in a temporary file beside the target, all in
// one transaction, and renamed over the target when complete.
#include "batch/outputs/sqlite_database.h"
#include "batch/outputs/tile_file_writer.h"
#include "os/atomic_file.h"

class SqliteFileWriter : public TileFileWriter {
protected:
    explicit SqliteFileWriter(QString path);
    ~SqliteFileWriter() override;

    // Creates the temporary file, runs schema on it and begins the transaction.
    bool OpenDatabase(const char* schema);
    SqliteDatabase& Database() { return db_; }
    bool Open() const { return open_; }
    // Fails with SQLite's message.
    bool FailInDatabase() { return Fail(db_.Error()); }
    // Commits the transaction, closes the database and puts the file in place.
    bool FinishDatabase();
    void Abandon() override;

private:
    AtomicFile file_; // declared first: the database closes before the file is removed
    SqliteDatabase db_;
    bool open_ = false;
};
