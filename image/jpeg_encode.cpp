// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_encode.h"

#include <cstddef>
#include <cstdint>
#include <jerror.h>
#include <limits>

// libjpeg leaves its virtual coefficient array opaque to callers; these are the arrays we lay
// into the picture's own rows (see CoefficientsInPicture).
struct jvirt_barray_control {
    unsigned char* first;              // block row 0, in the picture's first band
    std::size_t rowBytes;              // one row of blocks
    std::size_t bandBytes;             // the picture's rows of one band (an iMCU row)
    JDIMENSION rowsPerBand;            // rows of blocks of this component in one band
    JDIMENSION rows;                   // rows of blocks in all
    JBLOCKROW window[MAX_SAMP_FACTOR]; // the rows handed out by the last access
};

namespace {

// libjpeg copies the rows it is given, so a band behind the next row is never read again.
constexpr JDIMENSION kReleaseBandRows = 64;

// The progressive encoder keeps every coefficient of the picture until its last scan: with
// libjpeg's default 2 by 2 chroma subsampling, 3 bytes a pixel, as many as the picture. Once
// libjpeg has taken in a band of rows (16 for that subsampling) it computes that band's
// coefficients, and never reads those rows again: the coefficients are laid into the band's
// own bytes, so the encoder needs no memory of its own for them, where libjpeg would fault in
// as much again page by page. A component whose rows of blocks do not fit its band (sides that
// are no multiple of the band) keeps libjpeg's own array.
class CoefficientsInPicture {
public:
    explicit CoefficientsInPicture(RgbPicture& picture) : picture_(picture) {}

    // Takes over the requests for coefficient arrays of info, whose creation is done.
    void Install(j_compress_ptr info) {
        info->client_data = this;
        request_ = info->mem->request_virt_barray;
        access_ = info->mem->access_virt_barray;
        info->mem->request_virt_barray = &Request;
        info->mem->access_virt_barray = &Access;
    }

    bool PlacedAny() const { return placed_ > 0; }
    RgbPicture& Picture() const { return picture_; }

private:
    static CoefficientsInPicture& Of(j_common_ptr info) {
        return *static_cast<CoefficientsInPicture*>(info->client_data);
    }

    static jvirt_barray_ptr Request(j_common_ptr info, int pool, boolean preZero,
                                    JDIMENSION blocksPerRow, JDIMENSION rows,
                                    JDIMENSION maxAccess) {
        CoefficientsInPicture& self = Of(info);
        if (jvirt_barray_ptr placed = self.Place(reinterpret_cast<j_compress_ptr>(info), preZero,
                                                 blocksPerRow, rows, maxAccess))
            return placed;
        return self.request_(info, pool, preZero, blocksPerRow, rows, maxAccess);
    }

    static JBLOCKARRAY Access(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start,
                              JDIMENSION count, boolean writable) {
        CoefficientsInPicture& self = Of(info);
        if (!self.Ours(array))
            return self.access_(info, array, start, count, writable);
        // libjpeg's own check, which fails the encoding rather than reading past the picture.
        if (count > MAX_SAMP_FACTOR || start > array->rows || count > array->rows - start)
            ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        for (JDIMENSION i = 0; i < count; ++i) {
            const JDIMENSION row = start + i;
            array->window[i] = reinterpret_cast<JBLOCKROW>(
                array->first + row / array->rowsPerBand * array->bandBytes +
                row % array->rowsPerBand * array->rowBytes);
        }
        return array->window;
    }

    // The array laid into the bands after those placed before it, or nothing when it does not
    // fit them.
    jvirt_barray_ptr Place(j_compress_ptr info, boolean preZero, JDIMENSION blocksPerRow,
                           JDIMENSION rows, JDIMENSION rowsPerBand) {
        const qint64 bandHeight = qint64{info->max_v_samp_factor} * DCTSIZE;
        if (preZero || placed_ >= kMostArrays || rowsPerBand < 1 || rowsPerBand > MAX_SAMP_FACTOR ||
            bandHeight < 1 || picture_.height() % bandHeight != 0 ||
            qint64{rows} != picture_.height() / bandHeight * rowsPerBand)
            return nullptr;
        const auto bandBytes = static_cast<std::size_t>(bandHeight * picture_.width() * 3);
        const std::size_t rowBytes = std::size_t{blocksPerRow} * sizeof(JBLOCK);
        unsigned char* const first = picture_.row(0) + used_;
        if (used_ + rowsPerBand * rowBytes > bandBytes || !Aligned(first) || bandBytes % kAlign ||
            rowBytes % kAlign)
            return nullptr;
        jvirt_barray_control& array = arrays_[placed_++];
        array.first = first;
        array.rowBytes = rowBytes;
        array.bandBytes = bandBytes;
        array.rowsPerBand = rowsPerBand;
        array.rows = rows;
        used_ += rowsPerBand * rowBytes;
        return &array;
    }

    // libjpeg-turbo's SIMD code stores a block's coefficients 16 bytes at a time, aligned, as
    // its own allocator lays them out; every block placed here starts so too.
    static constexpr std::uintptr_t kAlign = 16;
    static bool Aligned(const unsigned char* at) {
        return reinterpret_cast<std::uintptr_t>(at) % kAlign == 0;
    }

    bool Ours(jvirt_barray_ptr array) const {
        for (int i = 0; i < placed_; ++i)
            if (array == &arrays_[i])
                return true;
        return false;
    }

    static constexpr int kMostArrays = MAX_COMPONENTS;
    RgbPicture& picture_;
    decltype(jpeg_memory_mgr::request_virt_barray) request_ = nullptr;
    decltype(jpeg_memory_mgr::access_virt_barray) access_ = nullptr;
    jvirt_barray_control arrays_[kMostArrays]{};
    int placed_ = 0;
    std::size_t used_ = 0; // bytes of each band taken by the arrays placed so far
};

// Everything that can longjmp happens here; no objects with destructors live in this frame.
bool RunEncoder(JpegCompression& e, const RgbPicture& picture, int quality,
                CoefficientsInPicture* usingUp) {
    e.info.err = InstallJpegErrorTrap(e.trap);
    if (setjmp(e.trap.jumpBack) != 0)
        return false;
    jpeg_create_compress(&e.info);
    if (usingUp != nullptr)
        usingUp->Install(&e.info);
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
    // Rows holding coefficients must stay; otherwise rows libjpeg has taken in can go.
    RgbPicture* const releasing =
        usingUp != nullptr && !usingUp->PlacedAny() ? &usingUp->Picture() : nullptr;
    while (e.info.next_scanline < e.info.image_height) {
        // libjpeg's row type is not const, but it only reads the input rows.
        JSAMPROW row = const_cast<unsigned char*>(picture.row(e.info.next_scanline));
        jpeg_write_scanlines(&e.info, &row, 1);
        if (releasing != nullptr && e.info.next_scanline % kReleaseBandRows == 0)
            releasing->ReleaseRows(e.info.next_scanline - kReleaseBandRows, e.info.next_scanline);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

bool Encode(const RgbPicture& picture, int quality, const JpegSink& sink,
            RgbPicture* usedUp = nullptr) {
    // JDIMENSION is 32 bits; libjpeg itself refuses sides above 65500.
    if (picture.width() > std::numeric_limits<JDIMENSION>::max() ||
        picture.height() > std::numeric_limits<JDIMENSION>::max() || !sink)
        return false;
    JpegCompression encoding;
    if (!encoding.destination.Prepare(sink))
        return false;
    if (usedUp == nullptr)
        return RunEncoder(encoding, picture, quality, nullptr);
    CoefficientsInPicture coefficients(*usedUp);
    return RunEncoder(encoding, picture, quality, &coefficients);
}

} // namespace

bool EncodeProgressiveJpeg(const RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink);
}

bool EncodeProgressiveJpegReleasing(RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink, &picture);
}
