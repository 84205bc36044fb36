// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encoding the stitched picture as a progressive JPEG, streamed out piece by piece so that
// the compressed file never has to be held in memory as well.
#include "image/jpeg_sink.h"
#include "image/rgb_picture.h"

// Encodes the picture as a progressive colour JPEG: RGB input, libjpeg's defaults, the
// floating-point DCT, the quality (libjpeg's scale, 1 to 100) with quantisation tables
// limited to baseline values and the simple progression script; byte for byte what
// `cjpeg -dct float -progressive -baseline -quality q` makes of the same pixels.
// False when libjpeg fails (out of memory, a side above 65500) or the sink refuses;
// the sink may have received part of the file by then.
bool EncodeProgressiveJpeg(const RgbPicture& picture, int quality, const JpegSink& sink);

// The same, using the picture up on the way. The progressive encoder keeps every coefficient
// of the picture until its last scan, as many bytes again as the picture itself: they are
// laid into the rows libjpeg has taken in already, so the encoding needs no more memory than
// the picture and its pages are touched once. A component that does not fit (sides that are
// no multiple of 16) keeps libjpeg's own memory; when none fits, each band of rows goes back
// to the system once libjpeg has taken it in, making room for the coefficients instead of
// doubling the peak.
bool EncodeProgressiveJpegReleasing(RgbPicture& picture, int quality, const JpegSink& sink);
