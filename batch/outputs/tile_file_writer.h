// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every file of tiles an export writes has in common: the set's description, and a writer
// that takes it, then the tiles one by one, then puts the file in place. A file appears under
// its name only when Finish succeeds; a writer that failed or is destroyed unfinished leaves
// nothing there.
//
//     SomeWriter writer(path);
//     bool ok = writer.Begin(metadata);
//     for (each tile) ok = ok && writer.AddTile(key, bytes);
//     ok = ok && writer.Finish();
#include "tiles/tile_block.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// How the tiles' bytes are encoded; a set takes its source's, though a source that changed
// encoding may still have old tiles of the other in its cache.
enum class TileEncoding { Jpeg, Png };

// The short name readers expect ("jpg" or "png").
QString TileFormatName(TileEncoding encoding);
// The encoding the bytes themselves show, by their signature; nothing for neither.
std::optional<TileEncoding> EncodingOfBytes(const QByteArray& bytes);

struct TilesetMetadata {
    QString name;
    QString attribution;
    int minZoom = 0;
    int maxZoom = 0;
    GeoBounds bounds; // the centre is its middle at minZoom
    TileEncoding encoding = TileEncoding::Jpeg;
    // The rectangle of each level written, coarsest first, for layouts that describe their
    // levels one by one; empty for those that need only the range.
    std::vector<TileBlock> levels = {};
};

class TileFileWriter {
public:
    virtual ~TileFileWriter() = default;
    TileFileWriter(const TileFileWriter&) = delete;
    TileFileWriter& operator=(const TileFileWriter&) = delete;

    virtual bool Begin(const TilesetMetadata& metadata) = 0;
    // The tile at key (rows from the north, as everywhere else here) as its own bytes; a
    // second tile of the same key replaces the first.
    virtual bool AddTile(const TileKey& key, const QByteArray& bytes) = 0;
    virtual bool Finish() = 0;

    // The first failure, "path: what", empty while nothing failed.
    QString ErrorText() const { return error_; }

protected:
    explicit TileFileWriter(QString path) : path_(std::move(path)) {}
    const QString& Path() const { return path_; }
    bool Failed() const { return failed_; }
    // Records the first failure, lets the writer drop what it holds, and returns false.
    bool Fail(const QString& what);
    virtual void Abandon() {}

private:
    QString path_;
    bool failed_ = false;
    QString error_;
};

// Whether key lies in its level's grid, which no file can hold a tile outside of.
bool InGrid(const TileKey& key);
