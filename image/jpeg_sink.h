// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one libjpeg destination of the program and the demo server: every filled buffer goes to
// a sink, which writes it to a file, appends it to memory or refuses it. Plain C++ without Qt.
#include "image/jpeg_error_trap.h"

#include <cstddef>
#include <functional>
#include <memory>

// Receives the encoded bytes in order; returns false to abort the encoding (a failed
// write, say).
using JpegSink = std::function<bool(const char* data, std::size_t size)>;

struct JpegSinkDestination {
    jpeg_destination_mgr manager{}; // must stay the first member: the callbacks cast back
    const JpegSink* sink = nullptr;
    std::unique_ptr<JOCTET[]> buffer;

    // Takes the buffer; false when the memory cannot be had. Called before the encoder's
    // setjmp, so that nothing is allocated in a frame libjpeg may jump out of.
    bool Prepare(const JpegSink& to);
    // Becomes info's destination. A refusal of the sink, or an exception it throws, becomes
    // a libjpeg write error, which jumps back out of the encoder.
    void Attach(j_compress_ptr info);
};

// One encoding: the compress struct with its error trap and its destination, destroyed
// together.
struct JpegCompression {
    jpeg_compress_struct info{}; // zeroed, so destroying it before creation is harmless
    JpegErrorTrap trap;
    JpegSinkDestination destination;

    JpegCompression() = default;
    JpegCompression(const JpegCompression&) = delete;
    JpegCompression& operator=(const JpegCompression&) = delete;
    ~JpegCompression() { jpeg_destroy_compress(&info); }
};
