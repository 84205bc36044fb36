// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a stitched picture of a given size in tiles can be made at all, decided before
// any tile is fetched so that a hopeless job fails at once rather than after hours.
#include "gis/geotiff_writer.h"
#include "tiles/tile_side.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>

// A JPEG side is at most 65500 pixels in libjpeg (65535 in the format), so a picture has
// at most this many tiles a side.
inline constexpr int kMaxStitchSide = 255;

enum class StitchRefusal {
    SideOutOfRange,  // a side below 1 tile or above kMaxStitchSide (kMaxStreamedStitchSide)
    NotEnoughMemory, // the picture would not fit in the memory available
};

// The memory a picture of columns by rows tiles needs at its peak, while it is encoded:
// the 3-byte RGB bitmap plus libjpeg's whole-image coefficient buffer for progressive
// output (2 bytes a coefficient, 1.5 coefficients a pixel with 2x2 chroma subsampling).
// 0 for a side below 1.
std::uint64_t StitchBytesNeeded(int columns, int rows);

// Why the picture cannot be made, or nothing when it can. availableBytes is the memory
// the system can still give (MemAvailableBytes); without it only the sides are checked.
std::optional<StitchRefusal> StitchSizeRefusal(int columns, int rows,
                                               std::optional<std::uint64_t> availableBytes);

// The memory a streamed picture needs at its peak: the row of tiles being drawn and the one
// GDAL is writing, whatever the number of rows.
std::uint64_t StreamedStitchBytesNeeded(int columns);

// Why a streamed picture cannot be made, or nothing when it can; as StitchSizeRefusal, with
// the memory of a row of tiles in place of the whole picture's. Disk space is the writer's
// own check (GeoTiffFitsOnDisk), since only it knows where the file goes.
std::optional<StitchRefusal> StreamedStitchRefusal(int columns, int rows,
                                                   std::optional<std::uint64_t> availableBytes);

// The MemAvailable figure of a /proc/meminfo text, in bytes; nothing when it is absent
// or unreadable.
std::optional<std::uint64_t> ParseMemAvailable(QByteArrayView meminfo);

// The same, read from the file (normally /proc/meminfo); nothing when it cannot be read.
std::optional<std::uint64_t> ReadMemAvailable(const QString& meminfoPath);
