// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_encode.h"

#include <limits>

namespace {

// Everything that can longjmp happens here; no objects with destructors live in this frame.
// libjpeg copies the rows it is given, so a band behind the next row is never read again.
constexpr JDIMENSION kReleaseBandRows = 64;

bool RunEncoder(JpegCompression& e, const RgbPicture& picture, int quality, RgbPicture* release) {
    e.info.err = InstallJpegErrorTrap(e.trap);
    if (setjmp(e.trap.jumpBack) != 0)
        return false;
    jpeg_create_compress(&e.info);
    e.destination.Attach(&e.info);
    e.info.image_width = static_cast<JDIMENSION>(picture.width());
    e.info.image_height = static_cast<JDIMENSION>(picture.height());
    e.info.input_components = 3;
    e.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.info);
    e.info.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&e.info, quality, TRUE);
    jpeg_simple_progression(&e.info);
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        // libjpeg's row type is not const, but it only reads the input rows.
        JSAMPROW row = const_cast<unsigned char*>(picture.row(e.info.next_scanline));
        jpeg_write_scanlines(&e.info, &row, 1);
        if (release != nullptr && e.info.next_scanline % kReleaseBandRows == 0)
            release->ReleaseRows(e.info.next_scanline - kReleaseBandRows, e.info.next_scanline);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

bool Encode(const RgbPicture& picture, int quality, const JpegSink& sink,
            RgbPicture* release = nullptr) {
    // JDIMENSION is 32 bits; libjpeg itself refuses sides above 65500.
    if (picture.width() > std::numeric_limits<JDIMENSION>::max() ||
        picture.height() > std::numeric_limits<JDIMENSION>::max() || !sink)
        return false;
    JpegCompression encoding;
    if (!encoding.destination.Prepare(sink))
        return false;
    return RunEncoder(encoding, picture, quality, release);
}

} // namespace

bool EncodeProgressiveJpeg(const RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink);
}

bool EncodeProgressiveJpegReleasing(RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink, &picture);
}
