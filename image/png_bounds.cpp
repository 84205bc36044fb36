// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_bounds.h"

#include <QByteArrayView>
#include <array>
#include <cstring>
#include <zlib.h>

namespace {

constexpr QByteArrayView kSignature("\x89PNG\r\n\x1a\n", 8);

quint32 BigEndian(const char* at) {
    const auto byte = [at](int i) {
        return static_cast<quint32>(static_cast<unsigned char>(at[i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

bool IsType(const char* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

bool Kept(const char* type) {
    for (const char* kept : {"IHDR", "PLTE", "tRNS", "gAMA", "IDAT", "IEND"}) {
        if (IsType(type, kept))
            return true;
    }
    return false;
}

// Inflates the picture data piece by piece into a scratch buffer, counting what comes out.
class InflatedCount {
public:
    InflatedCount() : initialised_(inflateInit(&stream_) == Z_OK), ok_(initialised_) {}
    ~InflatedCount() {
        if (initialised_)
            inflateEnd(&stream_);
    }
    InflatedCount(const InflatedCount&) = delete;
    InflatedCount& operator=(const InflatedCount&) = delete;

    // False once the data inflates past the bound or is no deflate stream.
    bool Add(QByteArrayView piece) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream_.avail_in = static_cast<uInt>(piece.size());
        while (ok_ && !ended_ && stream_.avail_in > 0) {
            stream_.next_out = scratch_.data();
            stream_.avail_out = static_cast<uInt>(scratch_.size());
            const int result = inflate(&stream_, Z_NO_FLUSH);
            ended_ = result == Z_STREAM_END;
            if (result != Z_OK && !ended_)
                ok_ = false;
            if (stream_.total_out > static_cast<uLong>(kMaxTileInflatedBytes))
                ok_ = false;
        }
        return ok_;
    }

private:
    z_stream stream_{};
    std::array<Bytef, 16 * 1024> scratch_{};
    bool initialised_ = false;
    bool ok_ = false;
    bool ended_ = false;
};

} // namespace

std::optional<QByteArray> BoundedTilePng(const QByteArray& data) {
    if (!data.startsWith(kSignature))
        return std::nullopt;
    QByteArray kept = kSignature.toByteArray();
    InflatedCount inflated;
    qsizetype at = kSignature.size();
    while (at < data.size()) {
        // Length, type, the data, a CRC (checked by the decoder).
        if (data.size() - at < 12)
            return std::nullopt;
        const quint32 length = BigEndian(data.constData() + at);
        if (length > static_cast<quint32>(data.size() - at - 12))
            return std::nullopt;
        const char* type = data.constData() + at + 4;
        const qsizetype whole = 12 + static_cast<qsizetype>(length);
        if (IsType(type, "IDAT") && !inflated.Add(QByteArrayView(data.constData() + at + 8,
                                                                 static_cast<qsizetype>(length))))
            return std::nullopt;
        if (Kept(type))
            kept.append(data.constData() + at, whole);
        at += whole;
        if (IsType(type, "IEND"))
            break;
    }
    return kept;
}
