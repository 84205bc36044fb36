// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tiles with real imagery for the benchmarks: rendered from the Earth picture that the demo
// server shows, so that decoding costs what it costs on real tiles.
#include <QByteArray>
#include <QString>

// The JPEG file of the tile with these quadrant letters ("qrs"), or empty bytes when the
// Earth picture cannot be read.
QByteArray EarthTileJpeg(const QString& quadPath);

// The Earth picture the demo server renders from by default.
QString EarthImagePath();
