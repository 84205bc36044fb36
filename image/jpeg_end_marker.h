// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>

// Whether data ends with the JPEG end-of-image marker FF D9. Only the last two bytes
// are looked at: that is how a file cut short in transfer or on disk is recognised.
inline bool EndsWithJpegEndMarker(const QByteArray& data) {
    return data.size() >= 2 && static_cast<unsigned char>(data[data.size() - 2]) == 0xFF &&
           static_cast<unsigned char>(data[data.size() - 1]) == 0xD9;
}
