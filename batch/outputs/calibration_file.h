// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OziExplorer map file (format 2.2) written beside a stitched picture, so that the
// picture can serve as a georeferenced Mercator map on the WGS 84 datum. It is a fixed
// 56-line template with the picture's name, its corner, middle and edge points and its
// size filled in.
#include <QString>
#include <QStringList>
#include <optional>

// The 56 lines of the unfilled template.
QStringList CalibrationTemplate();

// What one stitched picture contributes to its map file.
struct CalibrationInput {
    int columns = 0;       // W, the picture's width in tiles
    int rows = 0;          // H, its height in tiles
    QString picturePath;   // the picture's full path as saved
    QString anchorPath;    // quad path of the north-west tile; its length is the level
    QString southEastPath; // quad path of the south-east tile (wrapped like the tile loop)
};

// The hemisphere letter and the angle text of a map file: whole degrees, ", " and the
// minutes with five decimals and a full stop, e.g. "59, 32.05902" and "N". The value is
// taken as single precision; exactly 0 takes the positive letter. No carry: minutes that
// round to 60 stay 60.
struct CalibrationAngle {
    QString angle;
    QChar letter;
};
CalibrationAngle CalibrationAngleText(float value, QChar positive, QChar negative);

// The template lines with the picture's lines filled in. A template shorter than 56 lines
// is padded with empty ones. The middle point and the four edge midpoints (Point05 to
// Point09) are filled in only when the picture is at least 2 by 2 tiles.
QStringList CalibrationLines(const QStringList& templateLines, const CalibrationInput& input);

// The map file's path: in the picture's folder, the picture's file name with its last three
// characters replaced by "map" (area.jpg gives area.map, area.jpeg area.jmap). A name that
// already ends in "map" gets ".map" appended instead, so that the map file never replaces the
// picture; only the name is changed, so the map never lands in another folder.
QString CalibrationFilePath(const QString& picturePath);

// Why the map file could not name the picture at that path, or nothing when it can: the
// map file is Windows-1251, and a character outside it would name a file that does not exist.
std::optional<QString> CalibrationPathRefusal(const QString& picturePath);

// The map file's content: the template filled in, in Windows-1251 with CR LF after every line.
QByteArray CalibrationFileBytes(const QStringList& templateLines, const CalibrationInput& input);

// Fills the template in and replaces the map file beside the picture with it. False when the
// file could not be written; a previous map file is then left as it was.
bool WriteCalibrationFile(const QStringList& templateLines, const CalibrationInput& input);
