// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/sqlite_database.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>

namespace {

bool Bind(sqlite3_stmt* statement, int index, const SqlValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return sqlite3_bind_int64(statement, index, *number) == SQLITE_OK;
    if (const auto* real = std::get_if<double>(&value))
        return sqlite3_bind_double(statement, index, *real) == SQLITE_OK;
    if (const auto* text = std::get_if<QString>(&value)) {
        const QByteArray utf8 = text->toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    const QByteArray& bytes = std::get<SqlBlob>(value).bytes;
    return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                             SQLITE_STATIC) == SQLITE_OK;
}

} // namespace

SqliteDatabase::~SqliteDatabase() {
    Close();
}

bool SqliteDatabase::Open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return false;
    return Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
}

bool SqliteDatabase::Exec(const char* sql) {
    return db_ != nullptr && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* SqliteDatabase::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (db_ == nullptr || sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
        return nullptr;
    statements_.push_back(statement);
    return statement;
}

bool SqliteDatabase::Run(sqlite3_stmt* statement, std::initializer_list<SqlValue> values) {
    if (statement == nullptr)
        return false;
    bool ok = true;
    int index = 1;
    for (const SqlValue& value : values)
        ok = ok && Bind(statement, index++, value);
    ok = ok && sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return ok;
}

bool SqliteDatabase::Close() {
    for (sqlite3_stmt* statement : std::exchange(statements_, {}))
        sqlite3_finalize(statement);
    return sqlite3_close(std::exchange(db_, nullptr)) == SQLITE_OK;
}

QString SqliteDatabase::Error() const {
    return db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_))
                          : QStringLiteral("out of memory");
}
