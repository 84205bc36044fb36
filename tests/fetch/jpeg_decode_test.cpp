#include "fetch/jpeg_decode.h"
#include "tests/support/jpeg_fixture.h"

#include <gtest/gtest.h>

namespace {

void ExpectNear(QColor actual, QColor expected) {
    EXPECT_NEAR(actual.red(), expected.red(), 8);
    EXPECT_NEAR(actual.green(), expected.green(), 8);
    EXPECT_NEAR(actual.blue(), expected.blue(), 8);
}

// Offset of the frame header's height field in a baseline file (after FF C0, length,
// precision).
qsizetype FrameSizeOffset(const QByteArray& jpeg) {
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return sof < 0 ? -1 : sof + 5;
}

} // namespace

TEST(JpegDecode, EveryColourSpaceComesOutAsRgb888) {
    QImage image;
    ASSERT_TRUE(DecodeJpeg(MakeTestJpeg(40, 24, QColor(200, 40, 30)), image));
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    EXPECT_EQ(image.size(), QSize(40, 24));
    ExpectNear(image.pixelColor(39, 23), QColor(200, 40, 30));

    ASSERT_TRUE(DecodeJpeg(MakeTestJpeg(16, 16, QColor(90, 90, 90), FixtureColours::Gray), image));
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    ExpectNear(image.pixelColor(5, 5), QColor(90, 90, 90));

    // Inverted inks: cyan 0, magenta and yellow full, no black, i.e. red.
    ASSERT_TRUE(
        DecodeJpeg(MakeTestJpeg(16, 16, QColor(255, 0, 0), FixtureColours::AdobeCmyk), image));
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    ExpectNear(image.pixelColor(8, 8), QColor(255, 0, 0));
}

TEST(JpegDecode, CutShortStillDecodesButCorruptDataFailsAndKeepsTheImage) {
    const QByteArray whole = MakeTestJpeg(256, 256, Qt::blue);
    QImage image;
    ASSERT_TRUE(DecodeJpeg(whole.left(whole.size() * 2 / 3), image));
    EXPECT_EQ(image.size(), QSize(256, 256));

    const QImage before = image;
    QByteArray noFrame = whole.left(FrameSizeOffset(whole) - 5);
    noFrame.append(QByteArray(300, '\x5A'));
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("\xFF\xD8\xFF\xD9", 4), QByteArray(1000, '\x42'), noFrame}) {
        EXPECT_FALSE(DecodeJpeg(bad, image)) << bad.toHex().left(40).constData();
        EXPECT_EQ(image, before);
    }
}

TEST(JpegDecode, RefusesAHeaderClaimingAHugePicture) {
    QByteArray forged = MakeTestJpeg(8, 8, Qt::green);
    const qsizetype at = FrameSizeOffset(forged);
    ASSERT_GT(at, 0);
    // 20000 rows and 20000 columns would need more than a gigabyte of pixels.
    forged[at] = forged[at + 2] = char(0x4E);
    forged[at + 1] = forged[at + 3] = char(0x20);
    QImage image;
    EXPECT_FALSE(DecodeJpeg(forged, image));
    EXPECT_TRUE(image.isNull());
}
