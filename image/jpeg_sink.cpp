// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_sink.h"

#include <jerror.h>

#include <new>

namespace {

constexpr std::size_t kOutputBufferBytes = 64 * 1024;

JpegSinkDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<JpegSinkDestination*>(info->dest);
}

void StartOutput(j_compress_ptr info) {
    JpegSinkDestination& d = DestinationOf(info);
    d.manager.next_output_byte = d.buffer.get();
    d.manager.free_in_buffer = kOutputBufferBytes;
}

// An exception must not unwind through libjpeg's C frames: it counts as a refusal.
bool SinkAccepts(const JpegSinkDestination& d, std::size_t bytes) noexcept {
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

} // namespace

bool JpegSinkDestination::Prepare(const JpegSink& to) {
    sink = &to;
    try {
        buffer = std::make_unique<JOCTET[]>(kOutputBufferBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void JpegSinkDestination::Attach(j_compress_ptr info) {
    manager.init_destination = StartOutput;
    manager.empty_output_buffer = FlushFullBuffer;
    manager.term_destination = FinishOutput;
    info->dest = &manager;
}
