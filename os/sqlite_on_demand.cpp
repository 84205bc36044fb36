// SPDX-License-Identifier: GPL-3.0-or-later
// SQLite is loaded by the first database the program opens (an MBTiles or other SQLite output,
// the validators kept beside a cache), not at every start: the window and most commands never
// open one. These definitions of the calls SqliteDatabase makes find SQLite's own at that
// moment. Without SQLite a database fails to open with a message saying so, and nothing else
// fails.
#include "os/library_on_demand.h"

#include <sqlite3.h>

namespace {

constexpr char kLibsqlite[] = "libsqlite3.so.0";

// SQLite's own function of that name; each caller finds it once.
template <typename Function> Function Find(const char* name) {
    return FunctionOnDemand<kLibsqlite, Function>(name);
}

using StatementCall = int (*)(sqlite3_stmt*);

} // namespace

extern "C" {

int sqlite3_open_v2(const char* filename, sqlite3** db, int flags, const char* vfs) {
    static const auto call = Find<int (*)(const char*, sqlite3**, int, const char*)>(__func__);
    if (call != nullptr)
        return call(filename, db, flags, vfs);
    *db = nullptr;
    return SQLITE_CANTOPEN;
}

int sqlite3_close(sqlite3* db) {
    static const auto call = Find<int (*)(sqlite3*)>(__func__);
    return call != nullptr ? call(db) : SQLITE_OK; // nothing was opened without SQLite
}

const char* sqlite3_errmsg(sqlite3* db) {
    static const auto call = Find<const char* (*)(sqlite3*)>(__func__);
    return call != nullptr ? call(db) : "SQLite (libsqlite3.so.0) cannot be loaded";
}

int sqlite3_busy_timeout(sqlite3* db, int ms) {
    static const auto call = Find<int (*)(sqlite3*, int)>(__func__);
    return call != nullptr ? call(db, ms) : SQLITE_MISUSE;
}

int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**),
                 void* context, char** error) {
    static const auto call =
        Find<int (*)(sqlite3*, const char*, int (*)(void*, int, char**, char**), void*, char**)>(
            __func__);
    return call != nullptr ? call(db, sql, callback, context, error) : SQLITE_MISUSE;
}

int sqlite3_prepare_v2(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                       const char** tail) {
    static const auto call =
        Find<int (*)(sqlite3*, const char*, int, sqlite3_stmt**, const char**)>(__func__);
    return call != nullptr ? call(db, sql, bytes, statement, tail) : SQLITE_MISUSE;
}

int sqlite3_step(sqlite3_stmt* statement) {
    static const auto call = Find<StatementCall>(__func__);
    return call != nullptr ? call(statement) : SQLITE_MISUSE;
}

int sqlite3_reset(sqlite3_stmt* statement) {
    static const auto call = Find<StatementCall>(__func__);
    return call != nullptr ? call(statement) : SQLITE_MISUSE;
}

int sqlite3_clear_bindings(sqlite3_stmt* statement) {
    static const auto call = Find<StatementCall>(__func__);
    return call != nullptr ? call(statement) : SQLITE_MISUSE;
}

int sqlite3_finalize(sqlite3_stmt* statement) {
    static const auto call = Find<StatementCall>(__func__);
    return call != nullptr ? call(statement) : SQLITE_OK;
}

int sqlite3_bind_null(sqlite3_stmt* statement, int index) {
    static const auto call = Find<int (*)(sqlite3_stmt*, int)>(__func__);
    return call != nullptr ? call(statement, index) : SQLITE_MISUSE;
}

int sqlite3_bind_int64(sqlite3_stmt* statement, int index, sqlite3_int64 value) {
    static const auto call = Find<int (*)(sqlite3_stmt*, int, sqlite3_int64)>(__func__);
    return call != nullptr ? call(statement, index, value) : SQLITE_MISUSE;
}

int sqlite3_bind_double(sqlite3_stmt* statement, int index, double value) {
    static const auto call = Find<int (*)(sqlite3_stmt*, int, double)>(__func__);
    return call != nullptr ? call(statement, index, value) : SQLITE_MISUSE;
}

int sqlite3_bind_text(sqlite3_stmt* statement, int index, const char* text, int bytes,
                      void (*release)(void*)) {
    static const auto call =
        Find<int (*)(sqlite3_stmt*, int, const char*, int, void (*)(void*))>(__func__);
    return call != nullptr ? call(statement, index, text, bytes, release) : SQLITE_MISUSE;
}

int sqlite3_bind_blob(sqlite3_stmt* statement, int index, const void* blob, int bytes,
                      void (*release)(void*)) {
    static const auto call =
        Find<int (*)(sqlite3_stmt*, int, const void*, int, void (*)(void*))>(__func__);
    return call != nullptr ? call(statement, index, blob, bytes, release) : SQLITE_MISUSE;
}

int sqlite3_column_type(sqlite3_stmt* statement, int column) {
    static const auto call = Find<int (*)(sqlite3_stmt*, int)>(__func__);
    return call != nullptr ? call(statement, column) : SQLITE_NULL;
}

sqlite3_int64 sqlite3_column_int64(sqlite3_stmt* statement, int column) {
    static const auto call = Find<sqlite3_int64 (*)(sqlite3_stmt*, int)>(__func__);
    return call != nullptr ? call(statement, column) : 0;
}

const void* sqlite3_column_blob(sqlite3_stmt* statement, int column) {
    static const auto call = Find<const void* (*)(sqlite3_stmt*, int)>(__func__);
    return call != nullptr ? call(statement, column) : nullptr;
}

int sqlite3_column_bytes(sqlite3_stmt* statement, int column) {
    static const auto call = Find<int (*)(sqlite3_stmt*, int)>(__func__);
    return call != nullptr ? call(statement, column) : 0;
}

} // extern "C"
