#pragma once
// The files a region is exported to, chosen by the output's name.
#include <QString>
#include <optional>

enum class ExportFormat { Mbtiles, Kmz };

// Mbtiles for a name ending in ".mbtiles", Kmz for ".kmz" (in any case); nothing for any
// other name, which no reader of either would take.
std::optional<ExportFormat> ExportFormatOf(const QString& path);
