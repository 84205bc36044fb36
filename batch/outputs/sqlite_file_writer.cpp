// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/sqlite_file_writer.h"

SqliteFileWriter::SqliteFileWriter(QString path) : TileFileWriter(path), file_(path) {}

SqliteFileWriter::~SqliteFileWriter() {
    db_.Close();
}

bool SqliteFileWriter::OpenDatabase(const char* schema) {
    if (open_ || Failed())
        return Fail(QStringLiteral("already begun"));
    if (!file_.Open())
        return Fail(file_.ErrorText());
    open_ = true;
    if (!db_.Open(file_.TemporaryPath()) || !db_.Exec(schema) || !db_.Exec("BEGIN;"))
        return FailInDatabase();
    return true;
}

bool SqliteFileWriter::PrepareTileInsert(const char* sql) {
    insertTile_ = db_.Prepare(sql);
    return insertTile_ != nullptr || FailInDatabase();
}

bool SqliteFileWriter::InsertTile(const TileKey& key, std::initializer_list<SqlValue> values) {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    if (!InGrid(key))
        return Fail(QStringLiteral("a tile outside the grid of its level"));
    return db_.Run(insertTile_, values) || FailInDatabase();
}

bool SqliteFileWriter::FinishDatabase() {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    if (!db_.Exec("COMMIT;"))
        return FailInDatabase();
    open_ = false;
    if (!db_.Close())
        return Fail(QStringLiteral("the database could not be closed"));
    return file_.Commit(AtomicFile::Durability::Synced) || Fail(file_.ErrorText());
}

void SqliteFileWriter::Abandon() {
    open_ = false;
    db_.Close();
}
