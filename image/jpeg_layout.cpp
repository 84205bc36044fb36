// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_layout.h"

#include "image/jpeg_end_marker.h"

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

// The start-of-frame markers: C0 to CF but for DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length: the restart markers and TEM.
bool StandsAlone(unsigned char marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

} // namespace

std::optional<QSize> WholeJpegFrameSize(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    if (size < 4 || bytes[0] != kMarker || bytes[1] != kStartOfImage ||
        !EndsWithJpegEndMarker(data))
        return std::nullopt;
    std::optional<QSize> frame;
    qsizetype at = 2;
    while (at < size && bytes[at] == kMarker) {
        while (at < size && bytes[at] == kMarker) // fill bytes may precede a marker
            ++at;
        if (at >= size)
            return std::nullopt;
        const unsigned char marker = bytes[at++];
        if (marker == 0x00 || marker == kStartOfImage || marker == kEndOfImage)
            return std::nullopt; // no picture before the end, or a second start
        if (StandsAlone(marker))
            continue;
        if (at + 2 > size)
            return std::nullopt;
        const qsizetype length = bytes[at] << 8 | bytes[at + 1];
        if (length < 2 || at + length > size - 2) // the end marker stays after the segment
            return std::nullopt;
        if (IsFrameHeader(marker) && !frame) {
            constexpr qsizetype kFrameHeaderLength = 8; // length, precision, sides, components
            if (length < kFrameHeaderLength)
                return std::nullopt;
            frame = QSize(bytes[at + 5] << 8 | bytes[at + 6], bytes[at + 3] << 8 | bytes[at + 4]);
        }
        if (marker == kStartOfScan)
            return frame;
        at += length;
    }
    return std::nullopt; // something other than a marker where one belongs
}
