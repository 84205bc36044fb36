// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/pmtiles_writer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint64_t kHeaderLength = 127;
// The header and the root directory lie within the first 16 KiB, which readers fetch at once.
constexpr std::uint64_t kRootRoom = 16384;
constexpr std::uint64_t kDataOffset = kRootRoom;
// Values of the header's compression and tile type fields.
constexpr char kNoCompression = 1;
constexpr char kPngType = 2;
constexpr char kJpegType = 3;

void AppendVarint(QByteArray& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.append(char((value & 0x7f) | 0x80));
        value >>= 7;
    }
    out.append(char(value));
}

template <typename Number> void AppendLittleEndian(QByteArray& out, Number value) {
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        out.append(char(std::uint64_t(value) >> (8 * i) & 0xff));
}

std::int32_t E7(double degrees) {
    return std::int32_t(std::lround(std::clamp(degrees, -180.0, 180.0) * 1e7));
}

// A directory as the layout stores it: the count, then each column of the entries (ids as
// differences, run lengths, lengths, and offsets as 0 where an entry follows the one before).
QByteArray Directory(const std::vector<PmtilesWriter::Entry>& entries) {
    QByteArray out;
    AppendVarint(out, entries.size());
    std::uint64_t lastId = 0;
    for (const auto& e : entries)
        AppendVarint(out, e.tileId - std::exchange(lastId, e.tileId));
    for (const auto& e : entries)
        AppendVarint(out, e.runLength);
    for (const auto& e : entries)
        AppendVarint(out, e.length);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        const bool follows = i > 0 && e.offset == entries[i - 1].offset + entries[i - 1].length;
        AppendVarint(out, follows ? 0 : e.offset + 1);
    }
    return out;
}

// The last tile of each id, in id order, with neighbours of one content joined into runs.
std::vector<PmtilesWriter::Entry> SortedRuns(std::vector<PmtilesWriter::Entry> entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.tileId < b.tileId; });
    std::vector<PmtilesWriter::Entry> runs;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i + 1 < entries.size() && entries[i + 1].tileId == entries[i].tileId)
            continue; // a later tile of the same cell replaced it
        const auto& e = entries[i];
        if (!runs.empty()) {
            auto& last = runs.back();
            if (last.offset == e.offset && last.tileId + last.runLength == e.tileId) {
                ++last.runLength;
                continue;
            }
        }
        runs.push_back(e);
    }
    return runs;
}

struct Directories {
    QByteArray root;
    QByteArray leaves;
};

// The root alone when it fits beside the header, else leaves of as many entries as make the
// root of their first ids fit.
Directories Split(const std::vector<PmtilesWriter::Entry>& tiles) {
    QByteArray root = Directory(tiles);
    if (std::uint64_t(root.size()) <= kRootRoom - kHeaderLength)
        return {root, {}};
    for (std::size_t leafSize = 4096;; leafSize += leafSize / 5) {
        std::vector<PmtilesWriter::Entry> rootEntries;
        QByteArray leaves;
        for (std::size_t start = 0; start < tiles.size(); start += leafSize) {
            const auto first = tiles.begin() + std::ptrdiff_t(start);
            const auto last =
                tiles.begin() + std::ptrdiff_t(std::min(start + leafSize, tiles.size()));
            const QByteArray leaf = Directory({first, last});
            rootEntries.push_back(
                {first->tileId, std::uint64_t(leaves.size()), std::uint32_t(leaf.size()), 0});
            leaves += leaf;
        }
        root = Directory(rootEntries);
        if (std::uint64_t(root.size()) <= kRootRoom - kHeaderLength)
            return {root, leaves};
    }
}

} // namespace

std::uint64_t PmtilesTileId(const TileKey& key) {
    std::uint64_t id = 0;
    for (int level = 0; level < key.level; ++level)
        id += std::uint64_t{1} << (2 * level);
    std::uint64_t x = key.column;
    std::uint64_t y = key.row;
    const std::uint64_t n = std::uint64_t{1} << key.level;
    for (std::uint64_t s = n / 2; s > 0; s /= 2) {
        const std::uint64_t rx = (x & s) != 0 ? 1 : 0;
        const std::uint64_t ry = (y & s) != 0 ? 1 : 0;
        id += s * s * ((3 * rx) ^ ry);
        if (ry == 0) { // turn the quarter so that the curve runs on through it
            if (rx == 1) {
                x = n - 1 - x;
                y = n - 1 - y;
            }
            std::swap(x, y);
        }
    }
    return id;
}

PmtilesWriter::PmtilesWriter(QString path) : TileFileWriter(path), file_(path) {}

PmtilesWriter::~PmtilesWriter() = default;

void PmtilesWriter::Abandon() {
    open_ = false;
    readBack_.close();
}

bool PmtilesWriter::Begin(const TilesetMetadata& metadata) {
    if (open_ || Failed())
        return Fail(QStringLiteral("already begun"));
    // Ids past level 31 no longer fit the layout's 64-bit numbers.
    if (metadata.maxZoom > 31)
        return Fail(QStringLiteral("levels deeper than 31 do not fit the format"));
    metadata_ = metadata;
    if (!file_.Open() || !file_.Write(QByteArray(kDataOffset, '\0')))
        return Fail(file_.ErrorText());
    readBack_.setFileName(file_.TemporaryPath());
    if (!readBack_.open(QIODevice::ReadOnly))
        return Fail(readBack_.errorString());
    open_ = true;
    return true;
}

std::optional<std::uint64_t> PmtilesWriter::StoredCopy(const QByteArray& bytes, std::size_t hash) {
    const auto key = std::make_pair(hash, std::uint32_t(bytes.size()));
    for (auto it = stored_.constFind(key); it != stored_.cend() && it.key() == key; ++it) {
        // A hash says only that they may be equal; the bytes on the disk decide.
        if (readBack_.seek(qint64(kDataOffset + *it)) && readBack_.read(bytes.size()) == bytes)
            return *it;
    }
    return std::nullopt;
}

bool PmtilesWriter::AddTile(const TileKey& key, const QByteArray& bytes) {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    if (!InGrid(key) || key.level > 31)
        return Fail(QStringLiteral("a tile outside the grid of its level"));
    const std::size_t hash = qHashBits(bytes.constData(), std::size_t(bytes.size()));
    std::optional<std::uint64_t> offset = StoredCopy(bytes, hash);
    if (!offset) {
        if (!file_.Write(bytes))
            return Fail(file_.ErrorText());
        offset = dataLength_;
        dataLength_ += std::uint64_t(bytes.size());
        stored_.insert({hash, std::uint32_t(bytes.size())}, *offset);
        ++contents_;
    }
    entries_.push_back({PmtilesTileId(key), *offset, std::uint32_t(bytes.size()), 1});
    return true;
}

QByteArray PmtilesWriter::Header(const std::vector<Entry>& tiles, std::uint64_t rootLength,
                                 std::uint64_t metadataLength, std::uint64_t leavesLength) const {
    std::uint64_t addressed = 0;
    for (const Entry& e : tiles)
        addressed += e.runLength;
    const std::uint64_t metadataOffset = kDataOffset + dataLength_;
    QByteArray h("PMTiles\x03", 8);
    for (const std::uint64_t field :
         {kHeaderLength, rootLength, metadataOffset, metadataLength,
          metadataOffset + metadataLength, leavesLength, kDataOffset, dataLength_, addressed,
          std::uint64_t(tiles.size()), contents_})
        AppendLittleEndian(h, field);
    h.append('\0'); // not clustered: the tiles lie in the order they came
    h.append(kNoCompression);
    h.append(kNoCompression);
    h.append(metadata_.encoding == TileEncoding::Png ? kPngType : kJpegType);
    h.append(char(metadata_.minZoom));
    h.append(char(metadata_.maxZoom));
    const GeoBounds& b = metadata_.bounds;
    for (const double degrees : {b.west, b.south, b.east, b.north})
        AppendLittleEndian(h, E7(degrees));
    h.append(char(metadata_.minZoom));
    AppendLittleEndian(h, E7((b.west + b.east) / 2));
    AppendLittleEndian(h, E7((b.south + b.north) / 2));
    return h;
}

bool PmtilesWriter::Finish() {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    const std::vector<Entry> tiles = SortedRuns(std::move(entries_));
    const Directories directories = Split(tiles);
    const QByteArray metadata =
        QJsonDocument(QJsonObject{{"name", metadata_.name},
                                  {"attribution", metadata_.attribution},
                                  {"type", "baselayer"},
                                  {"format", TileFormatName(metadata_.encoding)},
                                  {"minzoom", metadata_.minZoom},
                                  {"maxzoom", metadata_.maxZoom}})
            .toJson(QJsonDocument::Compact);
    if (!file_.Write(metadata) || !file_.Write(directories.leaves))
        return Fail(file_.ErrorText());
    // The room kept at the start takes the header and the root, written in place.
    QFile head(file_.TemporaryPath());
    const QByteArray start =
        Header(tiles, std::uint64_t(directories.root.size()), std::uint64_t(metadata.size()),
               std::uint64_t(directories.leaves.size())) +
        directories.root;
    if (!head.open(QIODevice::ReadWrite) || head.write(start) != start.size() || !head.flush())
        return Fail(head.errorString());
    head.close();
    open_ = false;
    readBack_.close();
    return file_.Commit(AtomicFile::Durability::Synced) || Fail(file_.ErrorText());
}
