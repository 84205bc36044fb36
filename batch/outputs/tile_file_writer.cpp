// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/tile_file_writer.h"

QString TileFormatName(TileEncoding encoding) {
    return encoding == TileEncoding::Png ? QStringLiteral("png") : QStringLiteral("jpg");
}

std::optional<TileEncoding> EncodingOfBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return TileEncoding::Png;
    if (bytes.startsWith("\xff\xd8"))
        return TileEncoding::Jpeg;
    return std::nullopt;
}

bool TileFileWriter::Fail(const QString& what) {
    failed_ = true;
    if (error_.isEmpty())
        error_ = QStringLiteral("%1: %2").arg(path_, what);
    Abandon();
    return false;
}

bool InGrid(const TileKey& key) {
    if (key.level < 0 || key.level > kMaxTileLevel)
        return false;
    const std::int64_t side = std::int64_t{1} << key.level;
    return key.row < side && key.column < side;
}
