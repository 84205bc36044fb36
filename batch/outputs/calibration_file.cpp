// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/calibration_file.h"

#include "os/atomic_file.h"
#include "store/cp1251_lines.h"
#include "tiles/coordinates.h"
#include "tiles/mercator.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kTemplateLines = 56;
constexpr qsizetype kFirstPointLine = 9;   // Point01
constexpr qsizetype kFirstMiddleLine = 13; // Point05, the middle point

// Everything after a point's longitude letter: the unused grid fields.
const QString kGridTail = QStringLiteral(", grid,   ,           ,           ,N");

QString Blanks(int count) {
    return QString(count, u' ');
}

// An unused point: all its fields blank. Points 5 to 9 carry the letter E, the rest W.
QString EmptyPointLine(int number) {
    const QString letter = number <= 9 ? QStringLiteral("E") : QStringLiteral("W");
    const QStringList fields{QStringLiteral("Point") +
                                 QString::number(number).rightJustified(2, u'0'),
                             QStringLiteral("xy"),
                             Blanks(5),
                             Blanks(5),
                             QStringLiteral("in"),
                             QStringLiteral(" deg"),
                             Blanks(4),
                             Blanks(8),
                             QStringLiteral("N"),
                             Blanks(4),
                             Blanks(8),
                             letter,
                             QStringLiteral(" grid"),
                             Blanks(3),
                             Blanks(11),
                             Blanks(11),
                             QStringLiteral("N")};
    return fields.join(u',');
}

// A position on the picture in latitude and westward longitude, single precision.
struct GeoPoint {
    float latitude = 0;
    float westLongitude = 0;
};

GeoPoint PointAt(long double northing, long double westing, int level) {
    const long double world = TwoToThe(level);
    return {Saturated<float>(LatitudeOfFraction(northing / world)),
            Saturated<float>(LongitudeOfFraction(westing / world))};
}

// One calibrated point: the text before the latitude, then the latitude of one reference
// position and the longitude of another.
QString PointLine(const QString& head, const GeoPoint& latitudeOf, const GeoPoint& longitudeOf) {
    const CalibrationAngle latitude = CalibrationAngleText(latitudeOf.latitude, u'N', u'S');
    const CalibrationAngle longitude = CalibrationAngleText(longitudeOf.westLongitude, u'W', u'E');
    return head + latitude.angle + u',' + latitude.letter + QStringLiteral(", ") + longitude.angle +
           u',' + longitude.letter + kGridTail;
}

QString PointHead(int number, qint64 x, qint64 y) {
    // The first point's x is padded one blank further than the others'.
    const QString pad = number == 1 ? Blanks(4) : Blanks(3);
    return QStringLiteral("Point0%1,xy,").arg(number) + pad + QString::number(x) +
           QStringLiteral(", ") + QString::number(y) + QStringLiteral(",in, deg, ");
}

} // namespace

QStringList CalibrationTemplate() {
    QStringList lines{
        QStringLiteral("OziExplorer Map Data File Version 2.2"),
        QStringLiteral("Link.jpg"),
        QStringLiteral("C:\\Program Files\\ozi\\Maps\\link.jpg"),
        QStringLiteral("1 ,Map Code,"),
        QStringLiteral("WGS 84,,   0.0000,   0.0000,WGS 84"),
        QStringLiteral("Reserved 1"),
        QStringLiteral("Reserved 2"),
        QStringLiteral("Magnetic Variation,,,E"),
        QStringLiteral("Map Projection,Mercator,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No"),
        // Sample corners of a 512 by 512 picture; every run replaces them.
        QStringLiteral("Point01,xy,    0, 0,in, deg, 59, 32.05902,N, 30, 56.25000,E") + kGridTail,
        QStringLiteral("Point02,xy,   512, 512,in, deg, 59, 10.55580,N, 31, 38.43750,E") +
            kGridTail,
        QStringLiteral("Point03,xy,   0, 512,in, deg, 59, 10.55580,N, 30, 56.25000,E") + kGridTail,
        QStringLiteral("Point04,xy,   512, 0,in, deg, 59, 32.05902,N, 31, 38.43750,E") + kGridTail,
    };
    for (int number = 5; number <= 30; ++number)
        lines.append(EmptyPointLine(number));
    lines.append({
        QStringLiteral("Projection Setup,,,,,,,,,,"),
        QStringLiteral("Map Feature = MF ; Map Comment = MC     These follow if they exist"),
        QStringLiteral("Track File = TF      These follow if they exist"),
        QStringLiteral("Moving Map Parameters = MM?    These follow if they exist"),
        QStringLiteral("MM0,No"),
        QStringLiteral("MMPNUM,4"),
        QStringLiteral("MMPXY,1,0,0"),
        QStringLiteral("MMPXY,2,512,0"),
        QStringLiteral("MMPXY,3,512,512"),
        QStringLiteral("MMPXY,4,0,512"),
        QStringLiteral("MMPLL,1,  ,  "),
        QStringLiteral("MMPLL,2,  , "),
        QStringLiteral("MMPLL,3,  ,  "),
        QStringLiteral("MMPLL,4,  ,  "),
        QStringLiteral("MM1B,0.0"),
        QStringLiteral("MOP,Map Open Position,0,0"),
        QStringLiteral("IWH,Map Image Width/Height,512,512"),
    });
    return lines;
}

CalibrationAngle CalibrationAngleText(float value, QChar positive, QChar negative) {
    const QChar letter = value >= 0 ? positive : negative;
    const float magnitude = std::fabs(value);
    const double degrees = std::trunc(magnitude);
    // Exact in double: a float's fraction times 60 needs at most 30 bits.
    const double minutes = (magnitude - degrees) * 60;
    // QString::number is locale-free and always writes a full stop.
    return {QString::number(degrees, 'f', 0) + QStringLiteral(", ") +
                QString::number(minutes, 'f', 5),
            letter};
}

QStringList CalibrationLines(const QStringList& templateLines, const CalibrationInput& input) {
    QStringList lines = templateLines;
    while (lines.size() < kTemplateLines)
        lines.append(QString());

    const int level = static_cast<int>(input.anchorPath.size());
    const long double half = TwoToThe(level - 1);
    const AnchorOffset anchor = AnchorOffsets(input.anchorPath);
    const AnchorOffset southEast = AnchorOffsets(input.southEastPath);
    const long double northTop = half + anchor.row + 1;
    const long double westEdge = half + anchor.column + 1;
    const GeoPoint nw = PointAt(northTop, westEdge, level);
    const GeoPoint se = PointAt(half + southEast.row, half + southEast.column, level);
    const GeoPoint middle = PointAt(northTop - input.rows / 2, westEdge - input.columns / 2, level);

    const qint64 width = qint64{kTileSide} * input.columns;
    const qint64 height = qint64{kTileSide} * input.rows;
    const qint64 middleX = qint64{kTileSide} * (input.columns / 2);
    const qint64 middleY = qint64{kTileSide} * (input.rows / 2);

    lines[1] = QFileInfo(input.picturePath).fileName();
    lines[2] = input.picturePath;
    lines[kFirstPointLine] = PointLine(PointHead(1, 0, 0), nw, nw);
    lines[kFirstPointLine + 1] = PointLine(PointHead(2, width, height), se, se);
    lines[kFirstPointLine + 2] = PointLine(PointHead(3, 0, height), se, nw);
    lines[kFirstPointLine + 3] = PointLine(PointHead(4, width, 0), nw, se);
    if (input.columns > 1 && input.rows > 1) {
        lines[kFirstMiddleLine] = PointLine(PointHead(5, middleX, middleY), middle, middle);
        lines[kFirstMiddleLine + 1] = PointLine(PointHead(6, middleX, 0), nw, middle);
        lines[kFirstMiddleLine + 2] = PointLine(PointHead(7, 0, middleY), middle, nw);
        lines[kFirstMiddleLine + 3] = PointLine(PointHead(8, width, middleY), middle, se);
        lines[kFirstMiddleLine + 4] = PointLine(PointHead(9, middleX, height), se, middle);
    }
    const QString w = QString::number(width);
    const QString h = QString::number(height);
    lines[46] = QStringLiteral("MMPXY,2,") + w + QStringLiteral(",0");
    lines[47] = QStringLiteral("MMPXY,3,") + w + u',' + h;
    lines[48] = QStringLiteral("MMPXY,4,0,") + h;
    lines[55] = QStringLiteral("IWH,Map Image Width/Height,") + w + u',' + h;
    return lines;
}

QString CalibrationFilePath(const QString& picturePath) {
    const qsizetype slash = picturePath.lastIndexOf(u'/');
    const QString folder = picturePath.left(slash + 1);
    const QString name = picturePath.mid(slash + 1);
    if (name.endsWith(QStringLiteral("map")))
        return folder + name + QStringLiteral(".map");
    return folder + name.left(std::max<qsizetype>(0, name.size() - 3)) + QStringLiteral("map");
}

QByteArray CalibrationFileBytes(const QStringList& templateLines, const CalibrationInput& input) {
    return Cp1251LinesBytes(CalibrationLines(templateLines, input));
}

std::optional<QString> CalibrationPathRefusal(const QString& picturePath) {
    if (FitsCp1251(picturePath))
        return std::nullopt;
    return QCoreApplication::translate(
               "Calibration", "Путь %1 нельзя записать в файл привязки: в нём есть символы вне "
                              "кодировки windows-1251. Выберите имя и папку из русских или "
                              "латинских букв.")
        .arg(picturePath);
}

bool WriteCalibrationFile(const QStringList& templateLines, const CalibrationInput& input) {
    return WriteFileAtomically(CalibrationFilePath(input.picturePath),
                               CalibrationFileBytes(templateLines, input),
                               AtomicFile::Durability::Synced);
}
