// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_tile.h"

#include "image/png_bounds.h"
#include "image/rgb_jpeg_encode.h"
#include "tiles/tile_side.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

// The file being read: libpng asks for its bytes in pieces.
struct MemoryInput {
    const QByteArray& data;
    qsizetype at = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (length > static_cast<png_size_t>(input->data.size() - input->at))
        png_error(png, "data cut short");
    std::memcpy(out, input->data.constData() + input->at, length);
    input->at += static_cast<qsizetype>(length);
}

// A bad file is told by the result alone: libpng's messages stay off the terminal.
[[noreturn]] void GiveUp(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Everything libpng allocates, released outside the function that calls setjmp so that a jump
// back never skips a destructor.
struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Reader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, GiveUp, IgnoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
    }
    ~Reader() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
};

// Rows of RGBA samples, 16 bits a sample at most.
constexpr std::size_t kMaxRowBytes = std::size_t{kTileSide} * 8;

// Reads the tile's pixels as RGBA rows: palettes and grey expanded, no transparency read as
// opaque. Samples are 8-bit, but for a 16-bit picture with transparency, whose 16-bit samples
// are laid over white before they are rounded, as a painter does. Gives the bytes a sample
// takes, 0 for a bad file. Holds no objects with destructors: libpng may jump out of any
// call below.
int ReadRgba(Reader& r, MemoryInput& input, std::array<png_bytep, kTileSide>& rows) {
    if (setjmp(png_jmpbuf(r.png)))
        return 0;
    png_set_read_fn(r.png, &input, ReadFromMemory);
    png_read_info(r.png, r.info);
    if (png_get_image_width(r.png, r.info) != kTileSide ||
        png_get_image_height(r.png, r.info) != kTileSide)
        return 0;
    const bool translucent = (png_get_color_type(r.png, r.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                             png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
    const int sampleBytes = png_get_bit_depth(r.png, r.info) == 16 && translucent ? 2 : 1;
    png_set_expand(r.png);
    if (sampleBytes == 1)
        png_set_scale_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_add_alpha(r.png, 0xffff, PNG_FILLER_AFTER);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != std::size_t{kTileSide} * 4 * std::size_t(sampleBytes))
        return 0;
    png_read_image(r.png, rows.data());
    png_read_end(r.png, nullptr);
    return sampleBytes;
}

// A sample of alpha a laid over white, rounded as a painter blending it does: the sample
// premultiplied, then white's share added. 8-bit samples in 8 bits, 16-bit ones in 16 bits
// and then rounded to 8.
uchar OverWhite(uint sample, uint a) {
    const uint t = sample * a;
    const uint white = 255 * (255 - a);
    return static_cast<uchar>(((t + (t >> 8) + 0x80) >> 8) + ((white + (white >> 8) + 0x80) >> 8));
}

uchar OverWhite16(std::uint64_t sample, std::uint64_t a) {
    const auto div65535 = [](std::uint64_t x) { return (x + (x >> 16) + 0x8000) >> 16; };
    const std::uint64_t blended = div65535(sample * a) + div65535(65535 * (65535 - a));
    const std::uint64_t rounded = blended + 0x80;
    return static_cast<uchar>((rounded - (rounded >> 8)) >> 8);
}

// The red, green and blue of the pixel at in, laid over white.
std::array<uchar, 3> Opaque(const uchar* in, int sampleBytes) {
    if (sampleBytes == 1) {
        const uint a = in[3];
        if (a == 255)
            return {in[0], in[1], in[2]};
        return {OverWhite(in[0], a), OverWhite(in[1], a), OverWhite(in[2], a)};
    }
    const auto sample = [in](int i) { return std::uint64_t{in[2 * i]} << 8 | in[2 * i + 1]; };
    const std::uint64_t a = sample(3);
    return {OverWhite16(sample(0), a), OverWhite16(sample(1), a), OverWhite16(sample(2), a)};
}

} // namespace

std::optional<TilePixels> DecodePngTile(const QByteArray& data, PixelFormat format) {
    if (!data.startsWith("\x89PNG\r\n\x1a\n") || data.size() < 24)
        return std::nullopt;
    const auto side = [&](int at) {
        return (static_cast<quint32>(static_cast<unsigned char>(data[at])) << 24) |
               (static_cast<quint32>(static_cast<unsigned char>(data[at + 1])) << 16) |
               (static_cast<quint32>(static_cast<unsigned char>(data[at + 2])) << 8) |
               static_cast<quint32>(static_cast<unsigned char>(data[at + 3]));
    };
    if (side(16) != kTileSide || side(20) != kTileSide)
        return std::nullopt;
    // Nor is one whose data would inflate past what a tile can need.
    const std::optional<QByteArray> bounded = BoundedTilePng(data);
    if (!bounded)
        return std::nullopt;
    std::vector<uchar> rgba(kMaxRowBytes * kTileSide);
    std::array<png_bytep, kTileSide> rows{};
    for (int y = 0; y < kTileSide; ++y)
        rows[std::size_t(y)] = rgba.data() + std::size_t(y) * kMaxRowBytes;
    Reader reader;
    MemoryInput input{*bounded};
    const int sampleBytes = reader.info == nullptr ? 0 : ReadRgba(reader, input, rows);
    if (sampleBytes == 0)
        return std::nullopt;

    TilePixels tile(kTileSide, kTileSide, format);
    if (tile.isNull())
        return std::nullopt;
    uchar* const bits = tile.bits();
    for (int y = 0; y < kTileSide; ++y) {
        const uchar* in = rows[std::size_t(y)];
        uchar* out = bits + y * tile.bytesPerLine();
        for (int x = 0; x < kTileSide; ++x, in += 4 * sampleBytes) {
            const std::array<uchar, 3> rgb = Opaque(in, sampleBytes);
            if (format == PixelFormat::Xrgb32) {
                const std::uint32_t word =
                    0xff000000u | std::uint32_t{rgb[0]} << 16 | std::uint32_t{rgb[1]} << 8 | rgb[2];
                std::memcpy(out + x * 4, &word, sizeof word);
                continue;
            }
            std::memcpy(out + x * 3, rgb.data(), 3);
        }
    }
    return tile;
}

std::optional<QByteArray> PngTileAsJpeg(const QByteArray& data, int quality) {
    const std::optional<TilePixels> decoded = DecodePngTile(data);
    if (!decoded)
        return std::nullopt;
    const TilePixels& image = *decoded;
    const std::vector<std::uint8_t> jpeg =
        EncodeRgbJpeg(image.constBits(), image.width(), image.height(),
                      static_cast<std::size_t>(image.bytesPerLine()), quality);
    if (jpeg.empty())
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
}
