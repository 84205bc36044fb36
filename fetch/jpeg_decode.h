#pragma once
// Decoding JPEG data held in memory.
#include <QByteArray>
#include <QImage>

// Decodes data into an RGB888 image. Grayscale, YCbCr, RGB and CMYK/YCCK files are
// accepted. Data that is merely cut short still decodes (the missing part is filled
// in); corrupt data, unsupported colour spaces and absurd dimensions fail.
// On failure image is left as it was.
bool DecodeJpeg(const QByteArray& data, QImage& image);
