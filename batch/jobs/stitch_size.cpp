// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_size.h"

#include "os/integer_text.h"
#include "tiles/tile_side.h"

#include <QByteArray>
#include <QFile>
#include <QList>

namespace {
constexpr std::uint64_t kTilePixels = std::uint64_t{kTileSide} * kTileSide;
constexpr std::uint64_t kPeakBytesPerPixel = 6;
} // namespace

std::uint64_t StitchBytesNeeded(int columns, int rows) {
    if (columns < 1 || rows < 1)
        return 0;
    // Sides near 2^31 would overflow 64 bits: saturate rather than wrap.
    const auto tiles = static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows);
    constexpr std::uint64_t kMax = UINT64_MAX / (kTilePixels * kPeakBytesPerPixel);
    if (tiles > kMax)
        return UINT64_MAX;
    return tiles * kTilePixels * kPeakBytesPerPixel;
}

std::optional<StitchRefusal> StitchSizeRefusal(int columns, int rows,
                                               std::optional<std::uint64_t> availableBytes) {
    if (columns < 1 || rows < 1 || columns > kMaxStitchSide || rows > kMaxStitchSide)
        return StitchRefusal::SideOutOfRange;
    if (availableBytes && StitchBytesNeeded(columns, rows) > *availableBytes)
        return StitchRefusal::NotEnoughMemory;
    return std::nullopt;
}

std::uint64_t StreamedStitchBytesNeeded(int columns) {
    if (columns < 1)
        return 0;
    return 2 * static_cast<std::uint64_t>(columns) * kTilePixels * 3;
}

std::optional<StitchRefusal> StreamedStitchRefusal(int columns, int rows,
                                                   std::optional<std::uint64_t> availableBytes) {
    if (columns < 1 || rows < 1 || columns > kMaxStreamedStitchSide ||
        rows > kMaxStreamedStitchSide)
        return StitchRefusal::SideOutOfRange;
    if (availableBytes && StreamedStitchBytesNeeded(columns) > *availableBytes)
        return StitchRefusal::NotEnoughMemory;
    return std::nullopt;
}

std::optional<std::uint64_t> ParseMemAvailable(QByteArrayView meminfo) {
    // A line reads "MemAvailable:   12345678 kB".
    for (const QByteArray& line : meminfo.toByteArray().split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        const QList<QByteArray> fields = line.mid(13).simplified().split(' ');
        if (fields.size() != 2 || fields[1] != "kB")
            return std::nullopt;
        const std::optional<std::uint64_t> kb =
            ParseInteger<std::uint64_t>(fields[0], PlusSign::Allowed);
        if (!kb || *kb > UINT64_MAX / 1024)
            return std::nullopt;
        return *kb * 1024;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> ReadMemAvailable(const QString& meminfoPath) {
    QFile file(meminfoPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseMemAvailable(file.readAll());
}
