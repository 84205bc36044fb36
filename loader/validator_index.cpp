// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/validator_index.h"

#include <QFile>
#include <sqlite3.h>

namespace {

constexpr char kSchema[] = "CREATE TABLE IF NOT EXISTS tiles (name TEXT PRIMARY KEY, etag BLOB, "
                           "last_modified INTEGER, fresh_until INTEGER)";

void RemoveIndexFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1StringView(suffix));
}

void BindName(sqlite3_stmt* statement, const QByteArray& name) {
    sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
}

} // namespace

ValidatorIndex::ValidatorIndex(const QString& folder, std::optional<std::int64_t> maxAgeSecs)
    : maxAgeSecs_(maxAgeSecs) {
    const QString path = folder + QLatin1StringView(kFileName);
    if (Open(path))
        return;
    // Damaged or not an index at all: what it held was only ever a hint.
    Close();
    RemoveIndexFiles(path);
    if (!Open(path))
        Close();
}

ValidatorIndex::~ValidatorIndex() {
    Commit();
    Close();
}

bool ValidatorIndex::Open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(db_, 2000); // the window and a command may share a folder
    const auto exec = [this](const char* sql) {
        return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    };
    return exec("PRAGMA journal_mode=WAL") && exec("PRAGMA synchronous=NORMAL") && exec(kSchema) &&
           sqlite3_prepare_v2(db_,
                              "SELECT etag, last_modified, fresh_until FROM tiles WHERE name = ?",
                              -1, &find_, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, ?)", -1, &put_,
                              nullptr) == SQLITE_OK;
}

void ValidatorIndex::Close() {
    sqlite3_finalize(find_);
    sqlite3_finalize(put_);
    sqlite3_close(db_);
    find_ = put_ = nullptr;
    db_ = nullptr;
}

std::optional<ReplyValidators> ValidatorIndex::Find(const QString& tileFile) {
    if (!db_)
        return std::nullopt;
    BindName(find_, tileFile.toUtf8());
    std::optional<ReplyValidators> found;
    if (sqlite3_step(find_) == SQLITE_ROW) {
        found.emplace();
        found->etag = QByteArray(static_cast<const char*>(sqlite3_column_blob(find_, 0)),
                                 sqlite3_column_bytes(find_, 0));
        found->lastModifiedSecs = sqlite3_column_int64(find_, 1);
        if (sqlite3_column_type(find_, 2) != SQLITE_NULL)
            found->freshUntilSecs = sqlite3_column_int64(find_, 2);
    }
    sqlite3_reset(find_);
    return found;
}

void ValidatorIndex::Put(const QString& tileFile, ReplyValidators validators,
                         std::int64_t nowSecs) {
    if (!db_)
        return;
    if (validators.etag.isEmpty() || validators.lastModifiedSecs == 0)
        if (const std::optional<ReplyValidators> old = Find(tileFile)) {
            if (validators.etag.isEmpty())
                validators.etag = old->etag;
            if (validators.lastModifiedSecs == 0)
                validators.lastModifiedSecs = old->lastModifiedSecs;
        }
    if (!validators.freshUntilSecs && maxAgeSecs_)
        validators.freshUntilSecs = nowSecs + *maxAgeSecs_;
    if (pending_ == 0 && sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    BindName(put_, tileFile.toUtf8());
    sqlite3_bind_blob(put_, 2, validators.etag.constData(), int(validators.etag.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int64(put_, 3, validators.lastModifiedSecs);
    if (validators.freshUntilSecs)
        sqlite3_bind_int64(put_, 4, *validators.freshUntilSecs);
    else
        sqlite3_bind_null(put_, 4);
    sqlite3_step(put_);
    sqlite3_reset(put_);
    if (++pending_ >= kBatch)
        Commit();
}

void ValidatorIndex::Commit() {
    if (db_ && pending_ > 0)
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    pending_ = 0;
}
