// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_choice.h"

#include "batch/jobs/bulk_download_check.h"
#include "batch/jobs/prefill_job.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QStringList>

namespace {

// Cached tiles whose mean size stands for a tile of the region in the window's estimate.
constexpr int kMeasuredTiles = 256;

} // namespace

std::optional<QString> RegionLevelsRefusal(const SourceDefinition& source,
                                           const RegionLevels& levels) {
    if (levels.firstLevel < 1 || levels.lastLevel > kPrefillMaxDepth)
        return QCoreApplication::translate("RegionChoice",
                                           "Уровни %1–%2 вне уровней 1–%3, которые берут задания.")
            .arg(levels.firstLevel)
            .arg(levels.lastLevel)
            .arg(kPrefillMaxDepth);
    for (const int level : {levels.firstLevel, levels.lastLevel})
        if (std::optional<QString> refusal = BulkDownloadRefusal(source, level))
            return refusal;
    if (levels.Count() == 0)
        return QCoreApplication::translate("RegionChoice",
                                           "В области нет фрагментов уровней %1–%2 (фрагменты "
                                           "доходят до 85,0511° широты).")
            .arg(levels.firstLevel)
            .arg(levels.lastLevel);
    return std::nullopt;
}

QString RegionEstimateText(const RegionLevels& levels, const QString& cacheFolder) {
    const std::int64_t tiles = levels.Count();
    double bytes = 0;
    int measured = 0;
    QDirIterator files(cacheFolder, {QStringLiteral("*.jpg")}, QDir::Files);
    while (measured < kMeasuredTiles && files.hasNext()) {
        files.next();
        bytes += static_cast<double>(files.fileInfo().size());
        ++measured;
    }
    const QString count = QCoreApplication::translate("RegionChoice", "Фрагментов %1, уровни %2–%3")
                              .arg(tiles)
                              .arg(levels.firstLevel)
                              .arg(levels.lastLevel);
    if (measured == 0)
        return count +
               QCoreApplication::translate("RegionChoice", "; объём будет оценён при запуске");
    const double megabytes = bytes / measured * static_cast<double>(tiles) / (1024.0 * 1024.0);
    return count +
           QCoreApplication::translate("RegionChoice", ", около %1 МБ")
               .arg(QString::number(megabytes, 'f', megabytes < 10 ? 1 : 0).replace('.', ','));
}
