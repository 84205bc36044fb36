// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the server said of each cached tile of a source (its ETag, Last-Modified and how long it
// stays fresh), kept in one SQLite file in the source's cache folder rather than a file per
// tile. It is a hint, never the tiles' truth: a tile without an entry is only of unknown age,
// and a missing or damaged index is started afresh. Written in WAL mode, one transaction per
// batch of tiles, so a crash loses at most the last batch's entries and never the file.
#include "net/reply_validators.h"
#include "os/sqlite_database.h"

#include <QString>
#include <cstdint>
#include <optional>

class ValidatorIndex {
public:
    // The name of the index in a source's cache folder: hidden, so that listing the tiles
    // never meets it.
    static constexpr char kFileName[] = ".validators.sqlite";
    // Entries written in one transaction.
    static constexpr int kBatch = 64;

    // Opens the index of folder (which ends with '/'), making it when missing and starting it
    // afresh when damaged. maxAgeSecs, when given, is how long a tile stays fresh when its
    // server said nothing of it.
    ValidatorIndex(const QString& folder, std::optional<std::int64_t> maxAgeSecs);
    ~ValidatorIndex();
    ValidatorIndex(const ValidatorIndex&) = delete;
    ValidatorIndex& operator=(const ValidatorIndex&) = delete;

    // Whether the index could be opened at all; without it nothing is kept or found.
    bool Usable() const { return db_.IsOpen(); }
    std::optional<ReplyValidators> Find(const QString& tileFile);
    // Keeps what the server said of tileFile, received at nowSecs. What a 304 leaves out (it
    // may omit the tag) stays as it was.
    void Put(const QString& tileFile, ReplyValidators validators, std::int64_t nowSecs);
    // Ends the batch under way.
    void Commit();

private:
    bool Open(const QString& path);

    std::optional<std::int64_t> maxAgeSecs_;
    SqliteDatabase db_;
    sqlite3_stmt* find_ = nullptr;
    sqlite3_stmt* put_ = nullptr;
    int pending_ = 0;
};
