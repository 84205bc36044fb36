// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/rgb_picture.h"

#include <QColor>
#include <QFile>
#include <gtest/gtest.h>
#include <limits>

namespace {

QColor PixelAt(const RgbPicture& picture, qint64 x, qint64 y) {
    const unsigned char* p = picture.row(y) + x * 3;
    return QColor(p[0], p[1], p[2]);
}

} // namespace

TEST(RgbPicture, RefusesImpossibleSizes) {
    EXPECT_FALSE(RgbPicture::Create(0, 5));
    EXPECT_FALSE(RgbPicture::Create(5, -1));
    constexpr qint64 kHuge = std::numeric_limits<qint64>::max() / 2;
    EXPECT_FALSE(RgbPicture::Create(kHuge, 4)); // the byte count overflows
#if !defined(__SANITIZE_ADDRESS__) // ASan aborts on such a request instead of failing it
    // 48 TB: addressable, but no machine gives it.
    EXPECT_FALSE(RgbPicture::Create(qint64{1} << 22, qint64{1} << 22));
#endif
}

TEST(RgbPicture, DrawsTilesClippedAndConverted) {
    auto picture = RgbPicture::Create(300, 200);
    ASSERT_TRUE(picture);
    EXPECT_EQ(PixelAt(*picture, 150, 100), QColor(0, 0, 0));

    TilePixels red(256, 256, PixelFormat::Rgb888);
    red.Fill(0xc80a14);                // 200, 10, 20
    picture->DrawTile(red, 256, -100); // only a 44 by 156 corner lands
    EXPECT_EQ(PixelAt(*picture, 255, 0), QColor(0, 0, 0));
    EXPECT_EQ(PixelAt(*picture, 256, 0), QColor(200, 10, 20));
    EXPECT_EQ(PixelAt(*picture, 299, 155), QColor(200, 10, 20));
    EXPECT_EQ(PixelAt(*picture, 299, 156), QColor(0, 0, 0));

    TilePixels blue(256, 256, PixelFormat::Xrgb32);
    blue.Fill(0x0102fa); // 1, 2, 250
    picture->DrawTile(blue, -250, 150);
    EXPECT_EQ(PixelAt(*picture, 5, 199), QColor(1, 2, 250));
    EXPECT_EQ(PixelAt(*picture, 6, 199), QColor(0, 0, 0));

    // Wholly outside, or null: nothing drawn, nothing touched out of bounds.
    picture->DrawTile(red, 300, 0);
    picture->DrawTile(red, 0, -256);
    picture->DrawTile(red, std::numeric_limits<qint64>::max(), 0);
    picture->DrawTile(TilePixels(), 0, 0);
    EXPECT_EQ(PixelAt(*picture, 0, 0), QColor(0, 0, 0));
}

namespace {

// The kernel's flags of the mapping that holds address, from /proc/self/smaps ("hg": advised
// to use huge pages); empty when none is found.
QByteArrayList MappingFlags(const void* address) {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    const auto at = reinterpret_cast<quintptr>(address);
    bool inside = false;
    // Read whole: a file of /proc tells no size, so reading line by line would stop at once.
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        bool startOk = false, endOk = false;
        const quintptr start = line.left(dash).toULongLong(&startOk, 16);
        const quintptr end = line.mid(dash + 1, space - dash - 1).toULongLong(&endOk, 16);
        if (dash > 0 && space > dash && startOk && endOk)
            inside = start <= at && at < end;
        else if (inside && line.startsWith("VmFlags:"))
            return line.mid(8).simplified().split(' ');
    }
    return {};
}

} // namespace

// Huge pages spare a picture of a few tiles most of its page faults, but a picture of hundreds
// of megabytes pays more for the system to find them than it saves: its pages are made at once
// instead, and it reads as black all the same.
TEST(RgbPicture, OnlyAPictureOfAtMostAQuarterGigabyteAsksForHugePages) {
    struct Case {
        qint64 width, height;
        bool huge;
    };
    const Case cases[] = {
        {4096, 4096, true},   // 48 MiB: 16 by 16 tiles
        {8192, 11264, false}, // 264 MiB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const std::optional<RgbPicture> picture = RgbPicture::Create(c.width, c.height);
        ASSERT_TRUE(picture);
        const QByteArrayList flags = MappingFlags(picture->row(c.height / 2));
        ASSERT_FALSE(flags.isEmpty());
        if (c.huge && !flags.contains("hg"))
            GTEST_SKIP() << "the system takes no advice on huge pages";
        EXPECT_EQ(flags.contains("hg"), c.huge);
        EXPECT_EQ(PixelAt(*picture, c.width - 1, c.height - 1), QColor(0, 0, 0));
    }
}
