// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/world_file.h"

#include "batch/outputs/web_mercator_wkt.h"

#include <QFileInfo>

namespace {

// EPSG:3857 in the ESRI form that .prj readers expect.
constexpr char kWebMercatorPrj[] =
    "PROJCS[\"WGS_1984_Web_Mercator_Auxiliary_Sphere\",GEOGCS[\"GCS_WGS_1984\","
    "DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
    "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],"
    "PROJECTION[\"Mercator_Auxiliary_Sphere\"],PARAMETER[\"False_Easting\",0.0],"
    "PARAMETER[\"False_Northing\",0.0],PARAMETER[\"Central_Meridian\",0.0],"
    "PARAMETER[\"Standard_Parallel_1\",0.0],PARAMETER[\"Auxiliary_Sphere_Type\",0.0],"
    "UNIT[\"Meter\",1.0]]";

QByteArray Number(double value) {
    return QByteArray::number(value, 'g', 17); // enough digits to read back the same double
}

} // namespace

QString WithExtension(const QString& picturePath, const QString& extension) {
    const QString name = QFileInfo(picturePath).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    const QString stem =
        dot > 0 ? picturePath.left(picturePath.size() - name.size() + dot) : picturePath;
    return stem + '.' + extension;
}

QByteArray WorldFileText(const TileBlock& block) {
    const std::array<double, 6> t = BlockGeoTransform(block);
    // A world file names the centre of the top-left pixel, a geotransform its corner.
    const QByteArray lines[] = {
        Number(t[1]),           Number(t[4]), Number(t[2]), Number(t[5]), Number(t[0] + t[1] / 2),
        Number(t[3] + t[5] / 2)};
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

std::array<QString, 3> WorldFilePaths(const QString& picturePath) {
    const auto beside = [&picturePath](const char* extension) {
        const QString path = WithExtension(picturePath, QLatin1String(extension));
        return path == picturePath ? picturePath + '.' + QLatin1String(extension) : path;
    };
    // GDAL looks for the whole picture name followed by .aux.xml.
    return {beside("jgw"), beside("prj"), picturePath + QStringLiteral(".aux.xml")};
}

std::array<BesideFile, 3> WorldFiles(const QString& picturePath, const TileBlock& block) {
    const std::array<QString, 3> paths = WorldFilePaths(picturePath);
    return {
        BesideFile{paths[0], WorldFileText(block)},
        BesideFile{paths[1], QByteArray(kWebMercatorPrj) + '\n'},
        BesideFile{paths[2], QByteArray("<PAMDataset>\n  <SRS dataAxisToSRSAxisMapping=\"1,2\">") +
                                 kWebMercatorWkt + "</SRS>\n</PAMDataset>\n"}};
}
