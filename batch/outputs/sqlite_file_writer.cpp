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
