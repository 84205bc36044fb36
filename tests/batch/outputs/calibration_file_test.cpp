// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/calibration_file.h"

#include "tests/store/qt_print.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

const QString kGrid = QStringLiteral(", grid,   ,           ,           ,N");

// Level 10, anchor at row 300, column 600; 3 by 2 tiles.
CalibrationInput WorkedExample(const QString& picturePath = QStringLiteral("/maps/area.jpg")) {
    return {3, 2, picturePath, QStringLiteral("rtqrtrstqq"), QStringLiteral("rtqrtrstrt")};
}

} // namespace

TEST(CalibrationFile, TemplateKeepsItsBlankRuns) {
    const QStringList lines = CalibrationTemplate();
    ASSERT_EQ(lines.size(), 56);
    EXPECT_EQ(lines[4], QStringLiteral("WGS 84,,   0.0000,   0.0000,WGS 84"));
    EXPECT_EQ(lines[13], QStringLiteral("Point05,xy,     ,     ,in, deg,    ,        ,N,    ,"
                                        "        ,E, grid,   ,           ,           ,N"));
    EXPECT_EQ(lines[17].left(7), QStringLiteral("Point09"));
    EXPECT_EQ(lines[18], QStringLiteral("Point10,xy,     ,     ,in, deg,    ,        ,N,    ,"
                                        "        ,W, grid,   ,           ,           ,N"));
    EXPECT_EQ(lines[38].left(7), QStringLiteral("Point30"));
    EXPECT_EQ(lines[39], QStringLiteral("Projection Setup,,,,,,,,,,"));
    EXPECT_EQ(lines[40],
              QStringLiteral("Map Feature = MF ; Map Comment = MC     These follow if they exist"));
    EXPECT_EQ(lines[41], QStringLiteral("Track File = TF      These follow if they exist"));
    EXPECT_EQ(lines[42],
              QStringLiteral("Moving Map Parameters = MM?    These follow if they exist"));
    EXPECT_EQ(lines[49], QStringLiteral("MMPLL,1,  ,  "));
    EXPECT_EQ(lines[50], QStringLiteral("MMPLL,2,  , "));
    EXPECT_EQ(lines[55], QStringLiteral("IWH,Map Image Width/Height,512,512"));
}

TEST(CalibrationFile, WorkedExample) {
    const QStringList lines = CalibrationLines(CalibrationTemplate(), WorkedExample());
    ASSERT_EQ(lines.size(), 56);
    EXPECT_EQ(lines[1], QStringLiteral("area.jpg"));
    EXPECT_EQ(lines[2], QStringLiteral("/maps/area.jpg"));
    const QStringList points{
        "Point01,xy,    0, 0,in, deg, 59, 32.05902,N, 30, 56.25000,E",
        "Point02,xy,   768, 512,in, deg, 59, 10.55580,N, 31, 59.53125,E",
        "Point03,xy,   0, 512,in, deg, 59, 10.55580,N, 30, 56.25000,E",
        "Point04,xy,   768, 0,in, deg, 59, 32.05902,N, 31, 59.53125,E",
        "Point05,xy,   256, 256,in, deg, 59, 21.33568,N, 31, 17.34375,E",
        "Point06,xy,   256, 0,in, deg, 59, 32.05902,N, 31, 17.34375,E",
        "Point07,xy,   0, 256,in, deg, 59, 21.33568,N, 30, 56.25000,E",
        "Point08,xy,   768, 256,in, deg, 59, 21.33568,N, 31, 59.53125,E",
        "Point09,xy,   256, 512,in, deg, 59, 10.55580,N, 31, 17.34375,E",
    };
    for (int i = 0; i < points.size(); ++i)
        EXPECT_EQ(lines[9 + i], points[i] + kGrid);
    EXPECT_EQ(lines[46], QStringLiteral("MMPXY,2,768,0"));
    EXPECT_EQ(lines[47], QStringLiteral("MMPXY,3,768,512"));
    EXPECT_EQ(lines[48], QStringLiteral("MMPXY,4,0,512"));
    EXPECT_EQ(lines[55], QStringLiteral("IWH,Map Image Width/Height,768,512"));
    // Everything else is the template's.
    const QStringList blank = CalibrationTemplate();
    for (int i : {0, 3, 8, 18, 38, 44, 45, 49, 53, 54})
        EXPECT_EQ(lines[i], blank[i]) << i;
}

TEST(CalibrationFile, WholeWorldAndZeroLetters) {
    const QStringList lines = CalibrationLines(CalibrationTemplate(), {2, 2, "w.jpg", "q", "s"});
    EXPECT_EQ(lines[9], "Point01,xy,    0, 0,in, deg, 85, 3.06793,N, 180, 0.00000,W" + kGrid);
    EXPECT_EQ(lines[10], "Point02,xy,   512, 512,in, deg, 85, 3.06793,S, 180, 0.00000,E" + kGrid);
    // The middle lies on the equator and the prime meridian.
    EXPECT_EQ(lines[13], "Point05,xy,   256, 256,in, deg, 0, 0.00000,N, 0, 0.00000,W" + kGrid);
    const CalibrationAngle negativeZero = CalibrationAngleText(-0.0f, u'W', u'E');
    EXPECT_EQ(negativeZero.angle, QStringLiteral("0, 0.00000"));
    EXPECT_EQ(negativeZero.letter, u'W');
}

TEST(CalibrationFile, SingleRowOrColumnKeepsTheEmptyMiddlePoints) {
    const QStringList blank = CalibrationTemplate();
    // Start from lines a larger picture filled in: the template itself is never changed.
    const QStringList filled = CalibrationLines(blank, WorkedExample());
    for (const auto& [columns, rows] : {std::pair{1, 3}, std::pair{4, 1}}) {
        CalibrationInput input = WorkedExample();
        input.columns = columns;
        input.rows = rows;
        const QStringList lines = CalibrationLines(blank, input);
        for (int i = 13; i <= 17; ++i)
            EXPECT_EQ(lines[i], blank[i]) << i;
        EXPECT_EQ(lines[9], filled[9]); // the corners are still written
    }
}

TEST(CalibrationFile, WrappedSouthEastTile) {
    // Level 2: the anchor is the north-east corner tile, so the second column is the
    // westmost one and the south-east corner lies west of the north-west one.
    const QStringList lines = CalibrationLines(CalibrationTemplate(), {2, 2, "w.jpg", "rr", "qt"});
    EXPECT_EQ(lines[9], "Point01,xy,    0, 0,in, deg, 85, 3.06793,N, 90, 0.00000,E" + kGrid);
    EXPECT_EQ(lines[10], "Point02,xy,   512, 512,in, deg, 0, 0.00000,N, 90, 0.00000,W" + kGrid);
    EXPECT_EQ(lines[13], "Point05,xy,   256, 256,in, deg, 66, 30.79559,N, 180, 0.00000,E" + kGrid);
}

TEST(CalibrationFile, FilePathReplacesTheLastThreeCharactersOfTheNameOnly) {
    for (const auto& [picture, map] : std::initializer_list<std::pair<const char*, const char*>>{
             {"/m/area.jpg", "/m/area.map"},
             {"/m/area.jpeg", "/m/area.jmap"},
             {"/m/area.map", "/m/area.map.map"}, // never the picture's own name
             {"d/sub/ab", "d/sub/map"},          // never in another folder
             {"d/sub/a", "d/sub/map"},
             {"x/../b", "x/../map"},
             {"pic.jpg", "pic.map"},
         })
        EXPECT_EQ(CalibrationFilePath(picture), QString::fromUtf8(map)) << picture;
}

TEST(CalibrationFile, WritesWindows1251WithCrLf) {
    TempDir dir;
    const QString picture = dir.file(QStringLiteral("карта.jpg"));
    ASSERT_TRUE(WriteCalibrationFile(CalibrationTemplate(), WorkedExample(picture)));
    const QByteArray bytes = dir.read(QStringLiteral("карта.map"));
    EXPECT_TRUE(
        bytes.startsWith("OziExplorer Map Data File Version 2.2\r\n\xEA\xE0\xF0\xF2\xE0.jpg\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\nIWH,Map Image Width/Height,768,512\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 56);
    EXPECT_EQ(bytes.count('\n'), 56);

    EXPECT_FALSE(
        WriteCalibrationFile(CalibrationTemplate(), WorkedExample(dir.file("no/such/dir/a.jpg"))));
}

TEST(CalibrationFile, RefusesPathsTheMapFileCannotName) {
    const struct {
        const char* path;
        bool refused;
    } cases[] = {
        {"/home/u/карта?.jpg", false},  {"/tmp/Ёлки № 5.jpg", false}, {"/tmp/日本.jpg", true},
        {"/tmp/straße€.jpg", true}, // € is in the code page, ß is not
        {"/tmp/line\nbreak.jpg", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalibrationPathRefusal(QString::fromUtf8(c.path)).has_value(), c.refused)
            << c.path;
}
