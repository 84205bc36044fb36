#pragma once
// Decoding JPEG data held in memory.
#include <QByteArray>
#include <QImage>

// Tiles are 256 pixels square. A header declaring more than this on a side is a bad file:
// a few kilobytes of progressive data can otherwise claim 8192 by 8192 pixels and keep the
// decoder busy for seconds in hundreds of megabytes.
inline constexpr int kMaxJpegSide = 1024;

// Decodes data into an RGB888 image. Grayscale, YCbCr, RGB and CMYK/YCCK files are
// accepted. Data that is merely cut short still decodes (the missing part is filled
// in); corrupt data, unsupported colour spaces and sides above kMaxJpegSide fail.
// On failure image is left as it was.
bool DecodeJpeg(const QByteArray& data, QImage& image);
