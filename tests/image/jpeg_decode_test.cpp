// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_decode.h"
#include "image/tile_decode.h"
#include "tests/support/jpeg_fixture.h"
#include "tests/support/tile_pixels_image.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <vector>

namespace {

QColor DecodedColour(const QByteArray& jpeg) {
    TilePixels decoded;
    EXPECT_TRUE(DecodeJpeg(jpeg, decoded));
    EXPECT_EQ(decoded.format(), PixelFormat::Rgb888);
    const QImage image = AsImage(decoded);
    return image.pixelColor(image.width() - 1, image.height() - 1);
}

// Where a baseline frame header keeps the picture's height, then its width.
qsizetype FrameSizeAt(const QByteArray& jpeg) {
    return jpeg.indexOf("\xFF\xC0") + 5;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(JpegDecode, EveryColourSpaceComesOutAsRgb) {
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               20;
    };
    EXPECT_TRUE(near(DecodedColour(MakeTestJpeg(40, 24, QColor(200, 40, 30))), {200, 40, 30}));
    EXPECT_TRUE(near(DecodedColour(MakeTestJpeg(9, 9, QColor(90, 90, 90), FixtureColours::Gray)),
                     {90, 90, 90}));
    // Inverted inks of cyan 0, magenta and yellow full, no black: red.
    EXPECT_TRUE(
        near(DecodedColour(MakeTestJpeg(9, 9, Qt::red, FixtureColours::AdobeCmyk)), Qt::red));
}

TEST(JpegDecode, CutShortStillDecodesButCorruptDataFailsAndKeepsTheImage) {
    const QByteArray whole = MakeTestJpeg(256, 256, Qt::blue);
    TilePixels image;
    ASSERT_TRUE(DecodeJpeg(whole.left(whole.size() * 2 / 3), image));
    EXPECT_EQ(QSize(image.width(), image.height()), QSize(256, 256));

    const TilePixels before = image;
    const QByteArray noFrame = whole.left(FrameSizeAt(whole) - 5) + QByteArray(300, 'Z');
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("\xFF\xD8\xFF\xD9"), QByteArray(1000, 'B'), noFrame}) {
        EXPECT_FALSE(DecodeJpeg(bad, image)) << bad.size();
        EXPECT_TRUE(image == before);
    }
}

TEST(JpegDecode, ASideAboveTheTileLimitIsABadFileWhateverTheData) {
    TilePixels image;
    EXPECT_TRUE(DecodeJpeg(MakeTestJpeg(kMaxJpegSide, 8, Qt::green), image));
    EXPECT_TRUE(DecodeJpeg(MakeTestJpeg(8, kMaxJpegSide, Qt::green), image));
    EXPECT_FALSE(DecodeJpeg(MakeTestJpeg(kMaxJpegSide + 1, 8, Qt::green), image));
    EXPECT_FALSE(DecodeJpeg(MakeTestJpeg(8, kMaxJpegSide + 1, Qt::green), image));

    // A few hundred bytes claiming 8192 by 8192, and 20000 by 20000: refused from the header.
    for (const char* size : {"\x20\x00\x20\x00", "\x4E\x20\x4E\x20"}) {
        QByteArray forged = MakeTestJpeg(8, 8, Qt::green);
        forged.replace(FrameSizeAt(forged), 4, QByteArray(size, 4));
        EXPECT_FALSE(DecodeJpeg(forged, image));
        EXPECT_EQ(QSize(image.width(), image.height()), QSize(8, kMaxJpegSide)); // untouched
    }
}

// The view's decoder gives the pixmaps' own format, opaque and in the same colours as the RGB888
// rows, also when the image it is handed, and so one of its spares, was of another format.
TEST(JpegDecode, TheViewsDecoderGivesOpaqueRgb32InTheSameColours) {
    QImage translucent(256, 256, QImage::Format_ARGB32);
    translucent.fill(QColor(0, 0, 255, 0)); // laid over white
    const struct {
        const char* what;
        QByteArray data;
        QColor colour;
    } tiles[] = {
        {"rgb", MakeTestJpeg(256, 256, QColor(200, 40, 30)), {200, 40, 30}},
        {"grey", MakeTestJpeg(256, 256, QColor(90, 90, 90), FixtureColours::Gray), {90, 90, 90}},
        {"adobe cmyk", MakeTestJpeg(256, 256, Qt::red, FixtureColours::AdobeCmyk), Qt::red},
        {"png", Png(translucent), Qt::white},
    };
    JpegDecoder view(PixelFormat::Xrgb32);
    JpegDecoder rows;
    TilePixels image(256, 256, PixelFormat::Rgb888);
    for (int round = 0; round < 3; ++round)
        for (const auto& t : tiles) {
            SCOPED_TRACE(t.what);
            TilePixels rgb;
            ASSERT_TRUE(DecodeTile(view, t.data, image));
            ASSERT_TRUE(DecodeTile(rows, t.data, rgb));
            ASSERT_EQ(image.format(), PixelFormat::Xrgb32);
            EXPECT_EQ(rgb.format(), PixelFormat::Rgb888);
            const QRgb word = reinterpret_cast<const QRgb*>(image.constScanLine(255))[255];
            EXPECT_EQ(qAlpha(word), 255);
            EXPECT_EQ(image.Pixel(255, 255), rgb.Pixel(255, 255));
            EXPECT_LT(std::abs(qRed(word) - t.colour.red()) +
                          std::abs(qBlue(word) - t.colour.blue()),
                      20);
        }
}

// Asked before a stitch does without drawn text: Starts says what Decode will say whenever a
// file fails in its headers or tables, the failures a file laid out whole can still have.
TEST(JpegDecode, StartsAgreesWithDecode) {
    const QByteArray whole = MakeTestJpeg(256, 256, Qt::blue);
    QByteArray precision = whole; // 12 bits a sample, which this decoder does not take
    precision[whole.indexOf("\xFF\xC0") + 4] = 12;
    QByteArray noSampling = whole; // the first component's sampling factors 0 by 0
    noSampling[whole.indexOf("\xFF\xC0") + 11] = 0;
    QByteArray tooLarge = whole;
    tooLarge.replace(FrameSizeAt(whole), 4, QByteArray("\x20\x00\x20\x00", 4));
    const struct {
        const char* what;
        QByteArray data;
        bool starts;
    } cases[] = {
        {"whole", whole, true},         {"cut short", whole.left(whole.size() * 2 / 3), true},
        {"12-bit", precision, false},   {"no sampling", noSampling, false},
        {"too large", tooLarge, false}, {"empty", QByteArray(), false},
    };
    JpegDecoder decoder;
    for (const auto& c : cases) {
        TilePixels image;
        EXPECT_EQ(decoder.Starts(c.data), c.starts) << c.what;
        EXPECT_EQ(decoder.Decode(c.data, image), c.starts) << c.what;
    }
}

// A stitch decodes each tile straight into its square of a picture: only a picture of the
// square's sides, and nothing outside the square is touched, then or by later decodes.
TEST(JpegDecode, IntoRowsWritesTheSquareAloneAndNeverKeepsIt) {
    const QByteArray blue = MakeTestJpeg(256, 256, Qt::blue);
    TilePixels expected;
    ASSERT_TRUE(DecodeJpeg(blue, expected));
    constexpr int kStride = 600 * 3, kLeft = 300 * 3, kTop = 20;
    for (const bool fits : {true, false}) {
        std::vector<unsigned char> picture(kStride * 300, 0x5A);
        JpegDecoder decoder;
        EXPECT_EQ(decoder.DecodeInto(fits ? blue : MakeTestJpeg(128, 128, Qt::blue),
                                     {picture.data() + kTop * kStride + kLeft, kStride, 256, 256}),
                  fits);
        TilePixels red; // the rows are never one of the decoder's spares
        ASSERT_TRUE(decoder.Decode(MakeTestJpeg(256, 256, Qt::red), red));
        int wrong = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < kStride; ++x) {
                const bool inside = y >= kTop && y < kTop + 256 && x >= kLeft && x < kLeft + 768;
                wrong += picture[y * kStride + x] !=
                         (inside && fits ? expected.constScanLine(y - kTop)[x - kLeft] : 0x5A);
            }
        EXPECT_EQ(wrong, 0) << fits;
    }
}
