// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration file's writer on any picture name and tile rectangle: the first bytes give
// the size and the two corner tiles' quad paths, the rest is the picture's path (UTF-8).
// The file always has its 56 lines with the picture's name and size in place, and it is
// always named in the picture's own folder, never as the picture itself.
#include "batch/outputs/calibration_file.h"
#include "fuzz/fuzz_check.h"

#include <QFileInfo>
#include <cstddef>
#include <cstdint>

namespace {

// Quad letters from the low bits of each byte; a length byte first (a level of 1 to 30).
QString QuadPath(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0)
        return QStringLiteral("q");
    const std::size_t length = std::min<std::size_t>(data[0] % 30 + 1, size - 1);
    QString path;
    for (std::size_t i = 1; i <= length; ++i)
        path += QStringLiteral("qrst")[data[i] % 4];
    data += length + 1;
    size -= length + 1;
    return path.isEmpty() ? QStringLiteral("q") : path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    CalibrationInput input;
    input.columns = data[0] % 255 + 1;
    input.rows = data[1] % 255 + 1;
    data += 2;
    size -= 2;
    input.anchorPath = QuadPath(data, size);
    input.southEastPath = QuadPath(data, size);
    input.picturePath =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QStringList lines = CalibrationLines(CalibrationTemplate(), input);
    FUZZ_CHECK(lines.size() == 56);
    FUZZ_CHECK(lines[2] == input.picturePath);
    FUZZ_CHECK(lines[55].endsWith(
        QStringLiteral(",%1,%2").arg(qint64{256} * input.columns).arg(qint64{256} * input.rows)));
    for (int line = 9; line < 13; ++line)
        FUZZ_CHECK(lines[line].startsWith(QStringLiteral("Point0%1,xy,").arg(line - 8)));

    const QString map = CalibrationFilePath(input.picturePath);
    const qsizetype slash = input.picturePath.lastIndexOf(u'/');
    FUZZ_CHECK(map.left(slash + 1) == input.picturePath.left(slash + 1));
    FUZZ_CHECK(map.lastIndexOf(u'/') == slash);
    FUZZ_CHECK(map != input.picturePath);
    FUZZ_CHECK(map.endsWith(QStringLiteral("map")));
    return 0;
}
