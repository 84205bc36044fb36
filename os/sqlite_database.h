// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SQLite database: a new file a writer fills, or a file kept across runs beside the cache.
// Statements are prepared once and run with plain values; closing checks that everything
// reached the file. Text is UTF-8.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A blob bound without a copy: the bytes must outlive the statement's run.
struct SqlBlob {
    const QByteArray& bytes;
};
// nullptr is SQL's NULL.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, QString, SqlBlob>;

// The row a query stands on, read before the statement moves on.
class SqlRow {
public:
    explicit SqlRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    QByteArray Bytes(int column) const;

private:
    sqlite3_stmt* statement_;
};

enum class SqlJournal {
    // A new file, thrown away whole on any failure: a half-written database is never kept.
    Off,
    // A file kept across runs and shared with other processes: a crash loses at most the
    // transaction under way, and a writer waits a while for another's lock.
    WriteAhead,
};

class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (or creates) the file at path with that journal.
    bool Open(const QString& path, SqlJournal journal = SqlJournal::Off);
    bool IsOpen() const { return db_ != nullptr; }
    // Runs statements without values; several may be separated by semicolons.
    bool Exec(const char* sql);
    // A statement kept until Close; nullptr when SQLite refuses it.
    sqlite3_stmt* Prepare(const char* sql);
    // Runs the statement with the values bound in order, then resets it for the next run.
    bool Run(sqlite3_stmt* statement, std::initializer_list<SqlValue> values);
    // Runs the query with the values bound in order; read sees its first row, when it has one.
    // False when it failed.
    bool QueryRow(sqlite3_stmt* statement, std::initializer_list<SqlValue> values,
                  const std::function<void(const SqlRow&)>& read);
    // Finalizes the statements and closes the file; false when that failed.
    bool Close();

    // SQLite's message for the last failure.
    QString Error() const;

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};
