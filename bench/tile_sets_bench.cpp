// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting 4,096 cached tiles of real imagery (64 by 64 at level 12 over Europe) to each tile
// set, beside the floor of its kind: for the SQLite layouts one transaction inserting the same
// files into one table, for PMTiles a plain write of the same bytes into one file. Each run
// reads the tiles from their cache files, as the export does. Goal: at most 1.5 times the floor.
#include "batch/outputs/region_export.h"
#include "bench/earth_tiles.h"
#include "os/sqlite_database.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

const TileBlock kBlock{12, 2300, 1250, 64, 64};

// The cache of the block's tiles, made once.
const QTemporaryDir& Cache() {
    static QTemporaryDir dir;
    static const bool filled = [] {
        for (std::int64_t j = 0; j < kBlock.rows; ++j)
            for (std::int64_t i = 0; i < kBlock.columns; ++i) {
                const TileKey key = CellInBlock(kBlock, i, j);
                const QString letters = QString::fromStdString(key.Letters());
                QFile file(dir.filePath(letters + ".jpg"));
                const QByteArray jpeg = EarthTileJpeg(letters);
                if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) < 0)
                    return false;
            }
        return true;
    }();
    if (!filled) {
        std::fprintf(stderr, "the Earth picture %s cannot be read\n", qPrintable(EarthImagePath()));
        std::abort();
    }
    return dir;
}

template <typename Use> void ForEachCachedTile(Use use) {
    for (std::int64_t j = 0; j < kBlock.rows; ++j)
        for (std::int64_t i = 0; i < kBlock.columns; ++i) {
            const TileKey key = CellInBlock(kBlock, i, j);
            QFile file(Cache().filePath(QString::fromStdString(key.Letters()) + ".jpg"));
            if (!file.open(QIODevice::ReadOnly))
                return;
            use(key, file.readAll());
        }
}

void ExportTo(benchmark::State& state, const char* name) {
    Cache(); // rendered before the timing
    QTemporaryDir out;
    const QString path = out.filePath(QString::fromLatin1(name));
    for (auto _ : state) {
        RegionExport file(path, *ExportFormatOf(path), {kBlock}, "bench", 90);
        bool ok = file.Begin();
        ForEachCachedTile([&](const TileKey& key, const QByteArray& bytes) {
            ok = ok && file.AddTile(key, bytes);
        });
        if (!(ok && file.Finish()))
            state.SkipWithError(file.ErrorText().toUtf8().constData());
    }
    state.SetItemsProcessed(state.iterations() * kBlock.columns * kBlock.rows);
}

void SqliteFloor(benchmark::State& state) {
    Cache();
    QTemporaryDir out;
    for (auto _ : state) {
        const QString path = out.filePath("floor.db");
        QFile::remove(path);
        SqliteDatabase db;
        bool ok = db.Open(path) && db.Exec("CREATE TABLE t (z int, x int, y int, b blob);BEGIN;");
        sqlite3_stmt* insert = db.Prepare("INSERT INTO t VALUES (?, ?, ?, ?)");
        ForEachCachedTile([&](const TileKey& key, const QByteArray& bytes) {
            ok = ok && db.Run(insert, {std::int64_t{key.level}, std::int64_t{key.column},
                                       std::int64_t{key.row}, SqlBlob{bytes}});
        });
        if (!(ok && db.Exec("COMMIT;") && db.Close()))
            state.SkipWithError("sqlite");
        QFile synced(path); // the exports sync their file once complete
        if (synced.open(QIODevice::ReadWrite))
            ::fsync(synced.handle());
    }
}

void PlainWriteFloor(benchmark::State& state) {
    Cache();
    QTemporaryDir out;
    for (auto _ : state) {
        QFile file(out.filePath("floor.bin"));
        bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ForEachCachedTile([&](const TileKey&, const QByteArray& bytes) {
            ok = ok && file.write(bytes) == bytes.size();
        });
        ok = ok && file.flush() && ::fsync(file.handle()) == 0;
        if (!ok)
            state.SkipWithError("write");
    }
}

BENCHMARK(SqliteFloor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(ExportTo, mbtiles, "a.mbtiles")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(ExportTo, gpkg, "a.gpkg")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(ExportTo, sqlitedb, "a.sqlitedb")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(ExportTo, orux, "a.orux")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(PlainWriteFloor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(ExportTo, pmtiles, "a.pmtiles")->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
