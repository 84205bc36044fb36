// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tiles with real imagery for the benchmarks: rendered from the Earth picture that the demo
// server shows, so that decoding costs what it costs on real tiles.
#include <QByteArray>
#include <QString>

#include <vector>

// The JPEG file of the tile with these quadrant letters ("qrs"), or empty bytes when the
// Earth picture cannot be read.
QByteArray EarthTileJpeg(const QString& quadPath);

// The Earth picture the demo server renders from by default.
QString EarthImagePath();

// The mean seconds of decoding each of jpegs once, over rounds rounds, as the window's view
// decodes its tiles: one decoder kept from tile to tile, into the RGB32 that its pixmaps are
// made of. What no refresh of the view can do without.
double ViewDecodeSeconds(const std::vector<QByteArray>& jpegs, int rounds);
