// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a stitched block as a Cloud-Optimized GeoTIFF: EPSG:3857, the block's exact
// geotransform, 256-pixel internal tiles, JPEG or Deflate, overviews. The picture arrives
// one row of tiles at a time and is never held whole, so memory does not grow with its size
// and there is no JPEG side limit. Rows go into a losslessly compressed tiled scratch file
// beside the target; Finish makes the COG from it (overviews first, as the layout wants)
// under a temporary name and renames that over the target. Every way out removes the
// scratch and temporary files; the target is either the complete picture or untouched.
//
//     GeoTiffWriter writer(path, block, {GeoTiffCompression::Jpeg, 90});
//     bool ok = writer.Begin();
//     for (each row of tiles, top to bottom) ok = ok && writer.AddTileRow(band);
//     ok = ok && writer.Finish(progress);
//     if (!ok) report(writer.ErrorText());
#include "image/rgb_picture.h"
#include "tiles/tile_block.h"

#include "tiles/tile_side.h"

#include <QString>
#include <QTemporaryFile>
#include <functional>
#include <limits>
#include <memory>

// A GeoTIFF is written a row of tiles at a time, so its sides are bounded only by GDAL's
// 32-bit raster sizes.
inline constexpr std::int64_t kMaxStreamedStitchSide = std::numeric_limits<int>::max() / kTileSide;

enum class GeoTiffCompression { Jpeg, Deflate };

struct GeoTiffOptions {
    GeoTiffCompression compression = GeoTiffCompression::Jpeg;
    int quality = 90; // JPEG quality, 1 to 100; Deflate ignores it
};

// Reports the share done (0 to 1) while Finish works; false cancels.
using GeoTiffProgress = std::function<bool(double done)>;

// The bytes a GeoTIFF of the block may take on the target's disk while it is written: the
// scratch file and the result with its overviews, both counted as if incompressible.
std::int64_t GeoTiffDiskNeed(const TileBlock& block, GeoTiffCompression compression);

// Whether the disk that would hold path has room for GeoTiffDiskNeed. A picture that does not
// fit is too large: the ending that memory decides for a JPEG, disk space decides here.
bool GeoTiffFitsOnDisk(const QString& path, const TileBlock& block, GeoTiffCompression compression);

class GeoTiffBackend;

class GeoTiffWriter {
public:
    GeoTiffWriter(QString path, TileBlock block, GeoTiffOptions options);
    ~GeoTiffWriter();
    GeoTiffWriter(const GeoTiffWriter&) = delete;
    GeoTiffWriter& operator=(const GeoTiffWriter&) = delete;

    // Creates the scratch file; false when it cannot be made (or the block is larger than
    // GDAL's 32-bit sides allow, or GDAL cannot be loaded).
    bool Begin();
    // Appends the next row of tiles: band is block.columns × 256 pixels wide and 256 high.
    bool AddTileRow(const RgbPicture& band);
    // After the last row: builds the COG and puts it under the target's name. A cancel
    // through progress fails with an empty ErrorText.
    bool Finish(const GeoTiffProgress& progress = {});

    QString ErrorText() const;

private:
    bool NotBegun();

    QString path_;
    TileBlock block_;
    GeoTiffOptions options_;
    std::unique_ptr<GeoTiffBackend> gdal_; // from Begin on
    QString error_;                        // when GDAL could not be loaded
};
