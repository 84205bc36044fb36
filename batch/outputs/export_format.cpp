#include "batch/outputs/export_format.h"

#include <QFileInfo>

std::optional<ExportFormat> ExportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mbtiles"))
        return ExportFormat::Mbtiles;
    if (suffix == QLatin1String("kmz"))
        return ExportFormat::Kmz;
    return std::nullopt;
}
