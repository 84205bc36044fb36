#include "fetch/jpeg_decode.h"

#include "fetch/jpeg_error_trap.h"

namespace {

// A progressive file with thousands of tiny scans can take minutes to decode.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        (*info->err->error_exit)(info); // gives up through the trap, like any fatal error
}

// Everything libjpeg touches, owned outside the function that calls setjmp so that a
// jump back never skips a destructor.
struct Decoder {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap;
    jpeg_progress_mgr progress{};

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    // Safe on a never-created struct too: libjpeg skips a struct without a memory pool.
    ~Decoder() { jpeg_destroy_decompress(&info); }
};

bool DimensionsAcceptable(const jpeg_decompress_struct& info) {
    return info.image_width > 0 && info.image_height > 0 && info.image_width <= kMaxJpegSide &&
           info.image_height <= kMaxJpegSide;
}

// Ink amounts to RGB. Adobe applications store CMYK inverted and mark it with their
// marker, which is by far the common case; plain CMYK counts ink upwards.
void CmykRowToRgb(const JSAMPLE* cmyk, unsigned char* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int paper = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = static_cast<unsigned char>(paper * k / 255);
        }
    }
}

// Gives the first byte of a fresh RGB888 image, or nothing when it cannot be allocated.
// Kept out of Run so that no temporary image is ever alive inside it.
unsigned char* AllocateRgbImage(QImage& out, JDIMENSION width, JDIMENSION height) {
    out = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB888);
    return out.isNull() ? nullptr : out.bits();
}

// Holds no objects with destructors: libjpeg may jump out of any call below.
bool Run(Decoder& d, const QByteArray& data, QImage& out) {
    d.info.err = InstallJpegErrorTrap(d.trap);
    if (setjmp(d.trap.jumpBack))
        return false;

    jpeg_create_decompress(&d.info);
    d.progress.progress_monitor = LimitScans;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    // Decided from the header alone: jpeg_start_decompress already allocates for the whole
    // picture, and a few kilobytes can declare 8192 by 8192 pixels.
    if (!DimensionsAcceptable(d.info))
        return false;

    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&d.info);

    const JDIMENSION width = d.info.output_width;
    unsigned char* const bits = AllocateRgbImage(out, width, d.info.output_height);
    if (bits == nullptr)
        return false;
    const qsizetype stride = out.bytesPerLine();
    // A row for the four-channel samples, released with the decoder.
    JSAMPARRAY cmykRow = cmyk ? (*d.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.info),
                                                            JPOOL_IMAGE, width * 4, 1)
                              : nullptr;

    while (d.info.output_scanline < d.info.output_height) {
        unsigned char* row = bits + stride * d.info.output_scanline;
        if (cmyk) {
            if (jpeg_read_scanlines(&d.info, cmykRow, 1) != 1)
                return false;
            CmykRowToRgb(cmykRow[0], row, width, d.info.saw_Adobe_marker);
        } else {
            JSAMPROW rows[1] = {row};
            if (jpeg_read_scanlines(&d.info, rows, 1) != 1)
                return false;
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

bool DecodeJpeg(const QByteArray& data, QImage& image) {
    if (data.isEmpty())
        return false;
    Decoder decoder;
    QImage decoded;
    if (!Run(decoder, data, decoded))
        return false;
    image = std::move(decoded);
    return true;
}
