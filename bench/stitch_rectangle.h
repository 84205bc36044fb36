// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A square of real tiles in a disk cache, as the stitching benchmarks read it, and the floor
// they are measured against: the same files decoded in a plain loop, and cjpeg making the
// same progressive file of the assembled picture.
#include "bench/child_figures.h"
#include "tiles/view_urls.h"

#include <QList>
#include <QString>

// The source prefix of the benchmark tiles; nothing listens there, the cache has them all.
extern const QString kBenchPrefix;
inline constexpr int kBenchQuality = 90;

// A level-6 view over Europe and Africa: land, sea and cloud, as real tiles are.
ViewUrls BenchView();

// A cache file of the rectangle, with where its tile goes in the picture.
struct RectangleFile {
    QString path;
    int x = 0;
    int y = 0;
};

// The files of side by side tiles from the view's top-left corner, levelsDown levels below
// the view, in the stitching job's order.
QList<RectangleFile> RectangleFiles(const QString& cacheRoot, int side, int levelsDown = 0);

// Renders the real tiles into the cache; false when the Earth picture cannot be read.
bool FillCache(const QList<RectangleFile>& files, const QString& cacheRoot);

// The floor's first half: the files read and decoded one after another, nothing else.
bool DecodeAll(const QList<RectangleFile>& files);

// The assembled picture of side by side tiles as a binary PPM, cjpeg's input.
bool WriteAssembledPpm(const QList<RectangleFile>& files, int side, const QString& path);

// The stitching job over side by side tiles of the cache (from the view's top-left corner,
// as RectangleFiles has them) into output, as the command line runs it: a GeoTIFF named up
// front is streamed a row at a time. For a JPEG, phaseSeconds[0] is the tile loop and [1]
// the save; false when the job did not end done from the cache alone.
bool StitchFromCache(const QString& cacheRoot, const QString& output, int side,
                     ChildFigures& figures);

// cjpeg run on input, timed from the fork to its end; its peak is the whole process's.
ChildFigures Cjpeg(const QString& input, const QString& output);
