#include "batch/outputs/mbtiles_writer.h"

#include <sqlite3.h>

#include <utility>

namespace {

// The schema of MBTiles 1.3; the index makes a cell unique and lets readers find tiles.
constexpr char kSchema[] = "PRAGMA journal_mode=OFF;"
                           "PRAGMA synchronous=OFF;"
                           "CREATE TABLE metadata (name text, value text);"
                           "CREATE TABLE tiles (zoom_level integer, tile_column integer, "
                           "tile_row integer, tile_data blob);"
                           "CREATE UNIQUE INDEX tile_index ON tiles "
                           "(zoom_level, tile_column, tile_row);"
                           "BEGIN;";

QString Degrees(double value) {
    return QString::number(value, 'f', 8);
}

} // namespace

// The open database and its two prepared statements, closed together.
struct MbtilesWriter::Database {
    sqlite3* db = nullptr;
    sqlite3_stmt* insertTile = nullptr;
    ~Database() {
        sqlite3_finalize(insertTile);
        sqlite3_close(db);
    }
    QString Error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
    bool Exec(const char* sql) const {
        return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
};

MbtilesWriter::MbtilesWriter(QString path) : path_(path), file_(std::move(path)) {}

MbtilesWriter::~MbtilesWriter() = default; // the database closes before the file is removed

bool MbtilesWriter::Fail(const QString& what) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = QStringLiteral("%1: %2").arg(path_, what);
    db_.reset();
    return false;
}

bool MbtilesWriter::Begin(const MbtilesMetadata& metadata) {
    if (db_ || failed_)
        return Fail(QStringLiteral("already begun"));
    if (!file_.Open())
        return Fail(file_.ErrorText());
    db_ = std::make_unique<Database>();
    const QByteArray name = file_.TemporaryPath().toUtf8();
    if (sqlite3_open_v2(name.constData(), &db_->db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return Fail(db_->db != nullptr ? db_->Error() : QStringLiteral("out of memory"));
    if (!db_->Exec(kSchema))
        return Fail(db_->Error());

    const GeoBounds& b = metadata.bounds;
    const std::pair<const char*, QString> rows[] = {
        {"name", metadata.name},
        {"format", QStringLiteral("jpg")},
        {"type", QStringLiteral("baselayer")},
        {"version", QStringLiteral("1.3")},
        {"attribution", metadata.attribution},
        {"minzoom", QString::number(metadata.minZoom)},
        {"maxzoom", QString::number(metadata.maxZoom)},
        {"bounds",
         QStringList{Degrees(b.west), Degrees(b.south), Degrees(b.east), Degrees(b.north)}.join(
             ',')},
        {"center", QStringList{Degrees((b.west + b.east) / 2), Degrees((b.south + b.north) / 2),
                               QString::number(metadata.minZoom)}
                       .join(',')},
    };
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db_->db, "INSERT INTO metadata VALUES (?, ?)", -1, &insert, nullptr) !=
        SQLITE_OK)
        return Fail(db_->Error());
    bool ok = true;
    for (const auto& [key, value] : rows) {
        const QByteArray text = value.toUtf8();
        ok = ok && sqlite3_bind_text(insert, 1, key, -1, SQLITE_STATIC) == SQLITE_OK &&
             sqlite3_bind_text(insert, 2, text.constData(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT) == SQLITE_OK &&
             sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    if (!ok)
        return Fail(db_->Error());
    if (sqlite3_prepare_v2(db_->db, "INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, ?)", -1,
                           &db_->insertTile, nullptr) != SQLITE_OK)
        return Fail(db_->Error());
    return true;
}

bool MbtilesWriter::AddTile(const TileKey& key, const QByteArray& jpeg) {
    if (!db_)
        return Fail(QStringLiteral("not begun"));
    const int level = key.level;
    if (level < 0 || level > kMaxTileLevel)
        return Fail(QStringLiteral("a tile outside the grid of its level"));
    const std::int64_t side = std::int64_t{1} << level;
    if (key.row >= side || key.column >= side)
        return Fail(QStringLiteral("a tile outside the grid of its level"));
    sqlite3_stmt* insert = db_->insertTile;
    const bool ok =
        sqlite3_bind_int(insert, 1, level) == SQLITE_OK &&
        sqlite3_bind_int64(insert, 2, key.column) == SQLITE_OK &&
        sqlite3_bind_int64(insert, 3, side - 1 - key.row) == SQLITE_OK && // TMS: from the south
        sqlite3_bind_blob(insert, 4, jpeg.constData(), static_cast<int>(jpeg.size()),
                          SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);
    return ok || Fail(db_->Error());
}

bool MbtilesWriter::Finish() {
    if (!db_)
        return Fail(QStringLiteral("not begun"));
    if (!db_->Exec("COMMIT;"))
        return Fail(db_->Error());
    sqlite3_finalize(std::exchange(db_->insertTile, nullptr));
    if (sqlite3_close(std::exchange(db_->db, nullptr)) != SQLITE_OK)
        return Fail(QStringLiteral("the database could not be closed"));
    db_.reset();
    return file_.Commit(AtomicFile::Durability::Synced) || Fail(file_.ErrorText());
}
