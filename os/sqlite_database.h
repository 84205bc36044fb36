// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SQLite database a writer fills: opened on a new file, statements prepared once and run
// with plain values, closed with a check that everything reached the file. Text is UTF-8.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A blob bound without a copy: the bytes must outlive the statement's run.
struct SqlBlob {
    const QByteArray& bytes;
};
using SqlValue = std::variant<std::int64_t, double, QString, SqlBlob>;

class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (or creates) the new file at path without a journal: the file is new and is
    // thrown away whole on any failure, so a half-written database is never kept.
    bool Open(const QString& path);
    // Runs statements without values; several may be separated by semicolons.
    bool Exec(const char* sql);
    // A statement kept until Close; nullptr when SQLite refuses it.
    sqlite3_stmt* Prepare(const char* sql);
    // Runs the statement with the values bound in order, then resets it for the next run.
    bool Run(sqlite3_stmt* statement, std::initializer_list<SqlValue> values);
    // Finalizes the statements and closes the file; false when that failed.
    bool Close();

    // SQLite's message for the last failure.
    QString Error() const;

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};
