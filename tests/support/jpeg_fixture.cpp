// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/jpeg_fixture.h"

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

struct FreeBuffer {
    void operator()(unsigned char* p) const { std::free(p); }
};

std::vector<JSAMPLE> OneRow(int width, QColor colour, FixtureColours colours) {
    std::vector<JSAMPLE> row;
    for (int x = 0; x < width; ++x) {
        switch (colours) {
        case FixtureColours::Rgb:
            row.insert(row.end(),
                       {static_cast<JSAMPLE>(colour.red()), static_cast<JSAMPLE>(colour.green()),
                        static_cast<JSAMPLE>(colour.blue())});
            break;
        case FixtureColours::Gray:
            row.push_back(static_cast<JSAMPLE>(qGray(colour.rgb())));
            break;
        case FixtureColours::AdobeCmyk: // inverted inks, the way Adobe applications store them
            row.insert(row.end(),
                       {static_cast<JSAMPLE>(colour.red()), static_cast<JSAMPLE>(colour.green()),
                        static_cast<JSAMPLE>(colour.blue()), 255});
            break;
        }
    }
    return row;
}

} // namespace

// Inputs are always valid here, so libjpeg's default error handling (ending the
// process with a message) is acceptable: a test run cannot silently pass through it.
QByteArray MakeTestJpeg(int width, int height, QColor colour, FixtureColours colours) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);

    unsigned char* raw = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &raw, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = colours == FixtureColours::Rgb    ? 3
                            : colours == FixtureColours::Gray ? 1
                                                              : 4;
    info.in_color_space = colours == FixtureColours::Rgb    ? JCS_RGB
                          : colours == FixtureColours::Gray ? JCS_GRAYSCALE
                                                            : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row = OneRow(width, colour, colours);
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);

    const std::unique_ptr<unsigned char, FreeBuffer> buffer(raw);
    return QByteArray(reinterpret_cast<const char*>(buffer.get()), static_cast<qsizetype>(size));
}
