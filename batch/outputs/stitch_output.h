// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a stitched picture goes, chosen by its name. A ".tif" or ".tiff" becomes a
// Cloud-Optimized GeoTIFF that takes the picture one row of tiles at a time; anything else
// is the progressive JPEG with the OziExplorer map file, the world file and the projection
// file beside it, all four replaced together so that a failure leaves the earlier ones.
//
//     StitchOutput output(path, options);
//     streamed:  ok = output.Begin(); for (each row of tiles) ok = ok && output.AddTileRow(band);
//                ok = ok && output.Finish(progress);
//     whole:     ok = output.SaveWhole(picture, progress);
//     if (!ok && !output.Cancelled()) report(output.FailedPath(), output.ErrorText());
#include "gis/geotiff_writer.h"
#include "image/rgb_picture.h"
#include "tiles/tile_block.h"

#include <QString>
#include <QStringList>
#include <memory>

enum class StitchFormat { Jpeg, GeoTiff };

// GeoTiff for a name ending in ".tif" or ".tiff" in any case, Jpeg for any other.
StitchFormat StitchFormatOf(const QString& path);

struct StitchOutputOptions {
    TileBlock block; // the picture's tiles, for the placement of every format
    int quality = 100;
    // The map file's template and the quadrant letters of the corner tiles it names.
    QStringList calibrationTemplate;
    QString anchorLetters;
    QString southEastLetters;
};

class StitchOutput {
public:
    StitchOutput(QString path, StitchOutputOptions options);
    ~StitchOutput();
    StitchOutput(const StitchOutput&) = delete;
    StitchOutput& operator=(const StitchOutput&) = delete;

    StitchFormat Format() const { return format_; }

    // A GeoTIFF streamed: Begin before the first row, a band of block.columns × 256 by 256
    // pixels per row of tiles from the north, Finish after the last.
    bool Begin();
    bool AddTileRow(const RgbPicture& band);
    bool Finish(const GeoTiffProgress& progress = {});

    // The whole picture at once, in either format; it is used up on the way (its rows go
    // back to the system as they are written).
    bool SaveWhole(RgbPicture& picture, const GeoTiffProgress& progress = {});

    // After a failure: the file that could not be written and why (the reason may be empty).
    QString FailedPath() const { return failedPath_; }
    QString ErrorText() const { return error_; }
    // The progress callback asked to stop: nothing was written, and there is nothing to report.
    bool Cancelled() const { return cancelled_; }

private:
    bool SaveJpeg(RgbPicture& picture);
    bool Fail(const QString& path, const QString& reason);
    bool FailGeoTiff();

    QString path_;
    StitchOutputOptions options_;
    StitchFormat format_;
    std::unique_ptr<GeoTiffWriter> geoTiff_;
    QString failedPath_;
    QString error_;
    bool cancelled_ = false;
};
