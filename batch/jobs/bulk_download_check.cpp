// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/bulk_download_check.h"

#include <QCoreApplication>

std::optional<QString> BulkDownloadRefusal(const SourceDefinition& source, int level) {
    if (source.kind == SourceKind::Demo)
        return std::nullopt;
    if (!source.bulkDownload)
        return QCoreApplication::translate("BulkDownload",
                                           "Источник «%1» не разрешает массовое скачивание: "
                                           "склейка и выкачивание в кэш с него невозможны.")
            .arg(source.title);
    if (!source.ServesLevel(level))
        return QCoreApplication::translate("BulkDownload",
                                           "Уровня %1 у источника «%2» нет: он даёт уровни с %3 "
                                           "по %4.")
            .arg(level)
            .arg(source.title)
            .arg(source.minLevel)
            .arg(source.maxLevel);
    return std::nullopt;
}
