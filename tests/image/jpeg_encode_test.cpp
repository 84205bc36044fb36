// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_encode.h"

#include "tests/support/temp_dir.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// A picture with detail everywhere, so that every quantisation step shows in the bytes.
RgbPicture PatternPicture(int width, int height) {
    TilePixels image(width, height, PixelFormat::Rgb888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uchar>(x * 3 + y);
            row[3 * x + 1] = static_cast<uchar>((x * y) ^ (x + 7 * y));
            row[3 * x + 2] = static_cast<uchar>(y * 5 - x);
        }
    }
    std::optional<RgbPicture> picture = RgbPicture::Create(width, height);
    EXPECT_TRUE(picture);
    picture->DrawTile(image, 0, 0);
    return std::move(*picture);
}

QByteArray Encode(const RgbPicture& picture, int quality) {
    QByteArray bytes;
    const bool ok = EncodeProgressiveJpeg(picture, quality, [&](const char* data, std::size_t n) {
        bytes.append(data, static_cast<qsizetype>(n));
        return true;
    });
    EXPECT_TRUE(ok);
    return bytes;
}

QByteArray Ppm(const RgbPicture& picture) {
    QByteArray ppm =
        QStringLiteral("P6\n%1 %2\n255\n").arg(picture.width()).arg(picture.height()).toLatin1();
    for (qint64 y = 0; y < picture.height(); ++y)
        ppm.append(reinterpret_cast<const char*>(picture.row(y)), picture.width() * 3);
    return ppm;
}

} // namespace

TEST(JpegEncode, SameBytesAsCjpeg) {
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty())
        GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) is not installed";
    TempDir dir;
    // Sides that are no multiple of the 16-pixel MCU, and a picture large enough to need
    // several output buffers. Used up, a picture holds the coefficients in the rows already
    // taken in: a coefficient written over a row still to come would change the bytes.
    for (const auto& [width, height, quality] :
         {std::tuple{300, 170, 20}, std::tuple{97, 401, 75}, std::tuple{700, 300, 100},
          std::tuple{512, 768, 90}, std::tuple{300, 160, 75}, std::tuple{16, 16, 100}}) {
        const RgbPicture picture = PatternPicture(width, height);
        dir.write("in.ppm", Ppm(picture));
        QProcess process;
        process.start(cjpeg, {"-dct", "float", "-progressive", "-baseline", "-quality",
                              QString::number(quality), dir.file("in.ppm")});
        ASSERT_TRUE(process.waitForFinished(60000));
        ASSERT_EQ(process.exitCode(), 0);
        const QByteArray expected = process.readAllStandardOutput();
        const QByteArray ours = Encode(picture, quality);
        EXPECT_GT(ours.size(), 100);
        EXPECT_TRUE(ours == expected) << width << "x" << height << " q" << quality;
        RgbPicture usedUp = PatternPicture(width, height);
        QByteArray usingUp;
        ASSERT_TRUE(EncodeProgressiveJpegReleasing(usedUp, quality, [&](const char* d, size_t n) {
            usingUp.append(d, static_cast<qsizetype>(n));
            return true;
        }));
        EXPECT_TRUE(usingUp == expected) << "used up: " << width << "x" << height;
    }
}

TEST(JpegEncode, FailuresAreReported) {
    const RgbPicture picture = PatternPicture(300, 300);
    int calls = 0;
    EXPECT_FALSE(EncodeProgressiveJpeg(picture, 90, [&](const char*, std::size_t) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(EncodeProgressiveJpeg(picture, 90, [&](const char*, std::size_t) -> bool {
        throw std::runtime_error("disk gone");
    }));
    EXPECT_FALSE(EncodeProgressiveJpeg(picture, 90, JpegSink()));
    // Used up, with the coefficients in its rows or its rows released, a picture whose file
    // stops being written midway fails the same way.
    for (const auto& [width, height] : {std::pair{1024, 1024}, std::pair{1000, 1001}}) {
        RgbPicture usedUp = PatternPicture(width, height);
        int buffers = 0;
        EXPECT_FALSE(EncodeProgressiveJpegReleasing(
            usedUp, 90, [&](const char*, std::size_t) { return ++buffers < 2; }))
            << width << "x" << height;
        EXPECT_EQ(buffers, 2);
    }
    // libjpeg's own limit on a side is 65500 pixels.
    const auto wide = RgbPicture::Create(65501, 1);
    ASSERT_TRUE(wide);
    EXPECT_FALSE(EncodeProgressiveJpeg(*wide, 90, [](const char*, std::size_t) { return true; }));
}
