// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_layout.h"
#include "tests/support/jpeg_fixture.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray Progressive() {
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(10, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 80);
    return bytes;
}

// The offset of the first marker segment of that kind.
qsizetype SegmentAt(const QByteArray& jpeg, char marker) {
    return jpeg.indexOf(QByteArray("\xFF") + marker);
}

} // namespace

TEST(JpegLayout, WholeFilesPassAndDamagedOnesFail) {
    const QByteArray tile = MakeTestJpeg(256, 256, Qt::darkGreen);
    const QByteArray gray = MakeTestJpeg(16, 8, QColor(90, 90, 90), FixtureColours::Gray);
    QByteArray filled = tile;
    filled.insert(2, "\xFF\xFF"); // fill bytes before the first segment's marker
    QByteArray lengthPastEnd = tile;
    lengthPastEnd[SegmentAt(tile, '\xDB') + 2] = '\x7F';
    QByteArray noFrame = tile;
    noFrame[SegmentAt(tile, '\xC0') + 1] = '\xFE'; // the frame header becomes a comment
    QByteArray twoStarts = tile;
    twoStarts.insert(2, "\xFF\xD8");
    QByteArray strayByte = tile;
    strayByte.insert(2, "\x00", 1);

    const struct {
        const char* name;
        QByteArray bytes;
        bool whole;
    } cases[] = {
        {"a tile", tile, true},
        {"grey", gray, true},
        {"Qt's encoder", Progressive(), true},
        {"fill bytes", filled, true},
        {"empty", {}, false},
        {"the markers alone", QByteArray("\xFF\xD8\xFF\xD9"), false},
        {"cut short in the picture data", tile.left(tile.size() - 100), false},
        {"cut short and the end put back", tile.left(SegmentAt(tile, '\xDA') + 4) + "\xFF\xD9",
         false},
        {"no end marker", tile.chopped(2), false},
        {"no start marker", tile.mid(2), false},
        {"a segment running past the end", lengthPastEnd, false},
        {"no frame header before the scan", noFrame, false},
        {"a second start", twoStarts, false},
        {"a byte where a marker belongs", strayByte, false},
        {"a PNG", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + "\xFF\xD9", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWholeJpegLayout(c.bytes), c.whole) << c.name;
}
