// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_encode.h"

#include "image/jpeg_error_trap.h"

#include <jerror.h>

#include <limits>
#include <memory>
#include <new>

namespace {

constexpr std::size_t kOutputBufferBytes = 64 * 1024;

// A libjpeg destination that hands every filled buffer to the sink.
struct SinkDestination {
    jpeg_destination_mgr manager{}; // must stay the first member: the callbacks cast back
    const JpegSink* sink = nullptr;
    std::unique_ptr<JOCTET[]> buffer;
};

SinkDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<SinkDestination*>(info->dest);
}

void StartOutput(j_compress_ptr info) {
    SinkDestination& d = DestinationOf(info);
    d.manager.next_output_byte = d.buffer.get();
    d.manager.free_in_buffer = kOutputBufferBytes;
}

// An exception must not unwind through libjpeg's C frames: it counts as a refusal.
bool SinkAccepts(const SinkDestination& d, std::size_t bytes) noexcept {
    try {
        return (*d.sink)(reinterpret_cast<const char*>(d.buffer.get()), bytes);
    } catch (...) {
        return false;
    }
}

// Hands over the first bytes of the buffer; a refusal becomes a libjpeg error, which
// jumps back out of the encoder. Nothing with a destructor lives in this frame.
void Deliver(j_compress_ptr info, std::size_t bytes) {
    if (bytes > 0 && !SinkAccepts(DestinationOf(info), bytes))
        ERREXIT(info, JERR_FILE_WRITE);
}

boolean FlushFullBuffer(j_compress_ptr info) {
    // libjpeg calls this with the whole buffer filled, whatever free_in_buffer says.
    Deliver(info, kOutputBufferBytes);
    StartOutput(info);
    return TRUE;
}

void FinishOutput(j_compress_ptr info) {
    Deliver(info, kOutputBufferBytes - DestinationOf(info).manager.free_in_buffer);
}

struct Encoding {
    jpeg_compress_struct info{}; // zeroed, so destroying it before creation is harmless
    JpegErrorTrap trap;
    SinkDestination destination;

    Encoding() = default;
    Encoding(const Encoding&) = delete;
    Encoding& operator=(const Encoding&) = delete;
    ~Encoding() { jpeg_destroy_compress(&info); }
};

// Everything that can longjmp happens here; no objects with destructors live in this frame.
// libjpeg copies the rows it is given, so a band behind the next row is never read again.
constexpr JDIMENSION kReleaseBandRows = 64;

bool RunEncoder(Encoding& e, const RgbPicture& picture, int quality, RgbPicture* release) {
    e.info.err = InstallJpegErrorTrap(e.trap);
    if (setjmp(e.trap.jumpBack) != 0)
        return false;
    jpeg_create_compress(&e.info);
    e.destination.manager.init_destination = StartOutput;
    e.destination.manager.empty_output_buffer = FlushFullBuffer;
    e.destination.manager.term_destination = FinishOutput;
    e.info.dest = &e.destination.manager;
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
    Encoding encoding;
    encoding.destination.sink = &sink;
    try {
        encoding.destination.buffer = std::make_unique<JOCTET[]>(kOutputBufferBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return RunEncoder(encoding, picture, quality, release);
}

} // namespace

bool EncodeProgressiveJpeg(const RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink);
}

bool EncodeProgressiveJpegReleasing(RgbPicture& picture, int quality, const JpegSink& sink) {
    return Encode(picture, quality, sink, &picture);
}
