// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/validator_index.h"

#include <QFile>

namespace {

constexpr char kSchema[] = "CREATE TABLE IF NOT EXISTS tiles (name TEXT PRIMARY KEY, etag BLOB, "
                           "last_modified INTEGER, fresh_until INTEGER)";

void RemoveIndexFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1StringView(suffix));
}

} // namespace

ValidatorIndex::ValidatorIndex(const QString& folder, std::optional<std::int64_t> maxAgeSecs)
    : maxAgeSecs_(maxAgeSecs) {
    const QString path = folder + QLatin1StringView(kFileName);
    if (Open(path))
        return;
    // Damaged or not an index at all: what it held was only ever a hint.
    db_.Close();
    RemoveIndexFiles(path);
    if (!Open(path))
        db_.Close();
}

ValidatorIndex::~ValidatorIndex() {
    Commit();
}

bool ValidatorIndex::Open(const QString& path) {
    find_ = put_ = nullptr; // those of a failed try went with its file
    if (!db_.Open(path, SqlJournal::WriteAhead) || !db_.Exec(kSchema))
        return false;
    find_ = db_.Prepare("SELECT etag, last_modified, fresh_until FROM tiles WHERE name = ?");
    put_ = db_.Prepare("INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, ?)");
    return find_ && put_;
}

std::optional<ReplyValidators> ValidatorIndex::Find(const QString& tileFile) {
    std::optional<ReplyValidators> found;
    db_.QueryRow(find_, {tileFile}, [&found](const SqlRow& row) {
        found.emplace();
        found->etag = row.Bytes(0);
        found->lastModifiedSecs = row.Int(1);
        if (!row.IsNull(2))
            found->freshUntilSecs = row.Int(2);
    });
    return found;
}

void ValidatorIndex::Put(const QString& tileFile, ReplyValidators validators,
                         std::int64_t nowSecs) {
    if (!db_.IsOpen())
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
    if (pending_ == 0 && !db_.Exec("BEGIN"))
        return;
    const SqlValue freshUntil =
        validators.freshUntilSecs ? SqlValue(*validators.freshUntilSecs) : SqlValue(nullptr);
    db_.Run(put_, {tileFile, SqlBlob{validators.etag}, validators.lastModifiedSecs, freshUntil});
    if (++pending_ >= kBatch)
        Commit();
}

void ValidatorIndex::Commit() {
    if (pending_ > 0)
        db_.Exec("COMMIT");
    pending_ = 0;
}
