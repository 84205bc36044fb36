// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/kmz_writer.h"

#include "image/rgb_jpeg_encode.h"
#include "image/tile_decode.h"

#include <QCoreApplication>

#include <cmath>
#include <cstring>

namespace {

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

QString PictureEntry(std::int64_t index) {
    return QStringLiteral("files/%1.jpg").arg(index + 1);
}

QString Degrees(double value) {
    return QString::number(value, 'f', 10);
}

// The tiles' rows are equal steps of Mercator northing, while a LatLonBox stretches its
// picture over equal steps of latitude: drawn as they are, the middle rows of a picture
// would land far from their place at low levels. Each output row is therefore taken from
// where its latitude lies in the tiles, a mapping of rows alone (longitude is linear in
// both), with the two nearest tile rows blended.
TilePixels RowsAtEqualLatitudes(const TilePixels& picture, int level, double firstRow) {
    TilePixels result(picture.width(), picture.height(), PixelFormat::Rgb888);
    if (result.isNull())
        return result;
    const int height = picture.height();
    const double north = RowEdgeLatitude(level, firstRow);
    const double south = RowEdgeLatitude(level, firstRow + double(height) / kTileSide);
    const qsizetype rowBytes = qsizetype{picture.width()} * 3;
    for (int y = 0; y < height; ++y) {
        const double latitude = north - (y + 0.5) * (north - south) / height;
        const double source = (RowAtLatitude(level, latitude) - firstRow) * kTileSide - 0.5;
        const double clamped = std::clamp(source, 0.0, double(height - 1));
        const int upper = static_cast<int>(clamped);
        const int lower = std::min(upper + 1, height - 1);
        const double weight = clamped - upper;
        const uchar* a = picture.constScanLine(upper);
        const uchar* b = picture.constScanLine(lower);
        uchar* out = result.scanLine(y);
        for (qsizetype i = 0; i < rowBytes; ++i)
            out[i] = static_cast<uchar>(std::lround(a[i] + (b[i] - a[i]) * weight));
    }
    return result;
}

} // namespace

std::int64_t KmzPictureCount(const TileBlock& block) {
    return CeilDiv(block.columns, kKmzPictureTiles) * CeilDiv(block.rows, kKmzPictureTiles);
}

std::optional<QString> KmzRefusal(const TileBlock& block) {
    const std::int64_t pictures = KmzPictureCount(block);
    if (pictures <= kKmzMaxPictures)
        return std::nullopt;
    return QCoreApplication::translate(
               "Kmz", "Экспорт в KMZ невозможен: область займёт %1 снимков по 1024×1024 "
                      "точки, а карта Garmin вмещает не более %2. Уменьшите глубину.")
        .arg(pictures)
        .arg(kKmzMaxPictures);
}

KmzWriter::KmzWriter(QString path, TileBlock block, QString name, int quality, QString attribution)
    : path_(path), block_(block), name_(std::move(name)), quality_(quality),
      attribution_(std::move(attribution)),
      picturesAcross_(CeilDiv(block.columns, kKmzPictureTiles)), file_(std::move(path)) {}

KmzWriter::~KmzWriter() = default;

bool KmzWriter::Fail(const QString& what) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = what;
    return false;
}

KmzWriter::Picture KmzWriter::PictureAt(std::int64_t index) const {
    Picture p;
    p.column = index % picturesAcross_ * kKmzPictureTiles;
    p.row = index / picturesAcross_ * kKmzPictureTiles;
    p.columns = std::min<std::int64_t>(kKmzPictureTiles, block_.columns - p.column);
    p.rows = std::min<std::int64_t>(kKmzPictureTiles, block_.rows - p.row);
    return p;
}

QByteArray KmzWriter::DocumentKml() const {
    QString kml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n"
                                 "<name>%1</name>\n")
                      .arg(name_.toHtmlEscaped());
    if (!attribution_.isEmpty())
        kml += QStringLiteral("<description>%1</description>\n").arg(attribution_.toHtmlEscaped());
    for (std::int64_t i = 0; i < std::int64_t(written_.size()); ++i) {
        const Picture p = PictureAt(i);
        const std::int64_t column = CellInBlock(block_, p.column, 0).column;
        const double west = ColumnEdgeLongitude(block_.level, double(column));
        double east = ColumnEdgeLongitude(block_.level, double(column + p.columns));
        if (east > 180) // a picture across the antimeridian: KML wants east within ±180
            east -= 360;
        const double row = double(block_.row + p.row);
        kml += QStringLiteral("<GroundOverlay>\n<name>%1</name>\n<Icon><href>%2</href></Icon>\n"
                              "<LatLonBox><north>%3</north><south>%4</south><east>%5</east>"
                              "<west>%6</west></LatLonBox>\n</GroundOverlay>\n")
                   .arg(QString::number(i + 1), PictureEntry(i),
                        Degrees(RowEdgeLatitude(block_.level, row)),
                        Degrees(RowEdgeLatitude(block_.level, row + double(p.rows))), Degrees(east),
                        Degrees(west));
    }
    kml += QStringLiteral("</Document>\n</kml>\n");
    return kml.toUtf8();
}

bool KmzWriter::WriteEntry(const QByteArray& name, const QByteArray& bytes, bool compressed) {
    return zip_.Add(name, bytes, compressed) ||
           Fail(QStringLiteral("%1: %2").arg(path_, zip_.ErrorText()));
}

bool KmzWriter::Begin() {
    if (zip_.IsOpen() || failed_)
        return Fail(QStringLiteral("%1: already begun").arg(path_));
    if (const std::optional<QString> refusal = KmzRefusal(block_))
        return Fail(*refusal);
    if (block_.level < 0 || block_.level > kMaxTileLevel || block_.columns < 1 || block_.rows < 1)
        return Fail(QStringLiteral("%1: no such block of tiles").arg(path_));
    if (!file_.Open())
        return Fail(file_.ErrorText());
    if (!zip_.Create(file_.TemporaryPath()))
        return Fail(QStringLiteral("%1: %2").arg(path_, zip_.ErrorText()));
    written_.assign(std::size_t(KmzPictureCount(block_)), false);
    // Readers take the first entry for the document.
    return WriteEntry("doc.kml", DocumentKml(), true);
}

bool KmzWriter::AddTile(const TileKey& key, const QByteArray& jpeg) {
    if (!zip_.IsOpen() || failed_)
        return Fail(QStringLiteral("%1: not begun").arg(path_));
    const std::optional<BlockOffset> offset = OffsetInBlock(block_, key);
    if (!offset)
        return Fail(QStringLiteral("%1: a tile outside the region").arg(path_));
    const std::int64_t index =
        offset->row / kKmzPictureTiles * picturesAcross_ + offset->column / kKmzPictureTiles;
    if (written_[std::size_t(index)])
        return true; // a picture already written keeps the tile it was made with
    const Picture p = PictureAt(index);
    std::vector<QByteArray>& tiles = waiting_[index];
    tiles.resize(std::size_t(p.columns * p.rows));
    tiles[std::size_t((offset->row - p.row) * p.columns + offset->column - p.column)] = jpeg;
    for (const QByteArray& tile : tiles)
        if (tile.isEmpty())
            return true;
    return WritePicture(index);
}

bool KmzWriter::WritePicture(std::int64_t index) {
    const Picture p = PictureAt(index);
    TilePixels picture(int(p.columns) * kTileSide, int(p.rows) * kTileSide, PixelFormat::Rgb888);
    if (picture.isNull())
        return Fail(QStringLiteral("%1: no memory for a picture").arg(path_));
    picture.Fill(0x000000);
    const std::vector<QByteArray> tiles = std::move(waiting_[index]);
    waiting_.erase(index);
    written_[std::size_t(index)] = true;
    TilePixels tile;
    JpegDecoder decoder;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].isEmpty() || !DecodeTile(decoder, tiles[i], tile))
            continue;
        const int x = int(i % std::size_t(p.columns)) * kTileSide;
        const int y = int(i / std::size_t(p.columns)) * kTileSide;
        for (int line = 0; line < std::min(tile.height(), kTileSide); ++line)
            std::memcpy(picture.scanLine(y + line) + x * 3, tile.constScanLine(line),
                        std::size_t(std::min(tile.width(), kTileSide)) * 3);
    }
    const TilePixels resampled =
        RowsAtEqualLatitudes(picture, block_.level, double(block_.row + p.row));
    const std::vector<std::uint8_t> encoded =
        EncodeRgbJpeg(resampled.constBits(), resampled.width(), resampled.height(),
                      std::size_t(resampled.bytesPerLine()), quality_);
    if (encoded.empty())
        return Fail(QStringLiteral("%1: a picture could not be encoded").arg(path_));
    // JPEG does not shrink any further; storing it spares the device the inflating.
    const QByteArray jpeg(reinterpret_cast<const char*>(encoded.data()), qsizetype(encoded.size()));
    return WriteEntry(PictureEntry(index).toUtf8(), jpeg, false);
}

bool KmzWriter::Finish() {
    if (!zip_.IsOpen() || failed_)
        return Fail(QStringLiteral("%1: not begun").arg(path_));
    for (std::int64_t i = 0; i < std::int64_t(written_.size()); ++i)
        if (!written_[std::size_t(i)] && !WritePicture(i))
            return false;
    if (!zip_.Close())
        return Fail(QStringLiteral("%1: %2").arg(path_, zip_.ErrorText()));
    return file_.Commit(AtomicFile::Durability::Synced) || Fail(file_.ErrorText());
}
