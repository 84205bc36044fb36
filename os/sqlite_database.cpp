// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/sqlite_database.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>

namespace {

bool Bind(sqlite3_stmt* statement, int index, const SqlValue& value) {
    if (std::holds_alternative<std::nullptr_t>(value))
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
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

bool BindAll(sqlite3_stmt* statement, std::initializer_list<SqlValue> values) {
    bool ok = true;
    int index = 1;
    for (const SqlValue& value : values)
        ok = ok && Bind(statement, index++, value);
    return ok;
}

void Reset(sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

} // namespace

bool SqlRow::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SqlRow::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

QByteArray SqlRow::Bytes(int column) const {
    return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                      sqlite3_column_bytes(statement_, column));
}

SqliteDatabase::~SqliteDatabase() {
    Close();
}

bool SqliteDatabase::Open(const QString& path, SqlJournal journal) {
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return false;
    if (journal == SqlJournal::Off)
        return Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    sqlite3_busy_timeout(db_, 2000); // the window and a command may share the file
    return Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
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
    const bool ok = BindAll(statement, values) && sqlite3_step(statement) == SQLITE_DONE;
    Reset(statement);
    return ok;
}

bool SqliteDatabase::QueryRow(sqlite3_stmt* statement, std::initializer_list<SqlValue> values,
                              const std::function<void(const SqlRow&)>& read) {
    if (statement == nullptr)
        return false;
    bool ok = BindAll(statement, values);
    const int step = ok ? sqlite3_step(statement) : SQLITE_ERROR;
    if (step == SQLITE_ROW)
        read(SqlRow(statement));
    ok = step == SQLITE_ROW || step == SQLITE_DONE;
    Reset(statement);
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
