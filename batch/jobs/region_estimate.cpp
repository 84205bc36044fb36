// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/region_estimate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStorageInfo>
#include <random>

namespace {

// Events are pumped and the cancel checked this often while the cache is looked through.
constexpr std::int64_t kTilesBetweenPumps = 4096;

QString Megabytes(double bytes) {
    return QString::number(bytes / (1024.0 * 1024.0), 'f', 1);
}

// "около 3.2 МБ", or that the size is unknown when no tile gave one.
QString Volume(double bytes, bool known) {
    if (!known)
        return QCoreApplication::translate("RegionEstimate", "объём неизвестен");
    if (bytes < 1024 * 1024)
        return QCoreApplication::translate("RegionEstimate", "около %1 КБ")
            .arg(QString::number(bytes / 1024, 'f', 0));
    return QCoreApplication::translate("RegionEstimate", "около %1 МБ").arg(Megabytes(bytes));
}

// Fetches tiles at random across the level until kEstimateSample sizes are known (or twice
// as many tries were made); each one fetched becomes a cached tile of the level. False once a
// tile could not be had: with the server away, no more are tried.
bool Sample(const RegionLevels& region, LevelEstimate& level, double& sizeSum, std::int64_t& sizes,
            JobRun& run, const BatchRetry& retry) {
    const TileSource& source = run.Source();
    std::mt19937_64 random(std::random_device{}());
    std::uniform_int_distribution<std::int64_t> pick(0, level.tiles - 1);
    for (int tries = 0; sizes < kEstimateSample && tries < 2 * kEstimateSample; ++tries) {
        const std::optional<TileKey> key = NthRegionTile(region.region, level.level, pick(random));
        if (!key || CachedSize(source, *key))
            continue; // a cached tile's size is in the sum already
        run.LoadTile(source.Request(*key), retry);
        const std::optional<std::int64_t> size = CachedSize(source, *key);
        if (!size || run.Cancelled())
            return false;
        ++level.cached;
        ++sizes;
        sizeSum += static_cast<double>(*size);
    }
    return true;
}

} // namespace

std::optional<std::int64_t> CachedSize(const TileSource& source, const TileKey& key) {
    const QFileInfo file(source.Request(key).cacheFile.value_or(QString()));
    if (!file.isFile() || file.size() == 0)
        return std::nullopt;
    return file.size();
}

RegionEstimate EstimateRegion(const RegionLevels& region, JobRun& run, const BatchRetry& retry,
                              const QString& cacheRoot) {
    const TileSource& source = run.Source();
    const WorkMode mode = run.Mode();
    RegionEstimate estimate;
    run.Progress(0, QCoreApplication::translate("RegionEstimate", "Оценка объёма..."));
    double knownSum = 0;
    int knownLevels = 0;
    bool sampling = run.Mode() != WorkMode::CacheOnly;
    for (int level = region.firstLevel; level <= region.lastLevel && !run.Cancelled(); ++level) {
        LevelEstimate l{.level = level};
        double sizeSum = 0;
        RegionTileWalk walk(region.region, level, level);
        while (const std::optional<TileKey> key = walk.Next()) {
            if (++l.tiles % kTilesBetweenPumps == 0) {
                run.Pump();
                if (run.Cancelled())
                    return estimate;
            }
            if (const std::optional<std::int64_t> size = CachedSize(source, *key)) {
                ++l.cached;
                sizeSum += static_cast<double>(*size);
            }
        }
        std::int64_t sizes = l.cached;
        if (sampling && l.cached < kEstimateSample && l.tiles > l.cached)
            sampling = Sample(region, l, sizeSum, sizes, run, retry);
        l.toFetch = mode == WorkMode::InternetOnly ? l.tiles : l.tiles - l.cached;
        if (sizes > 0) {
            l.bytesPerTile = sizeSum / static_cast<double>(sizes);
            knownSum += l.bytesPerTile;
            ++knownLevels;
        }
        estimate.levels.push_back(l);
    }
    for (LevelEstimate& l : estimate.levels) {
        if (l.bytesPerTile == 0 && knownLevels > 0)
            l.bytesPerTile = knownSum / knownLevels;
        estimate.tiles += l.tiles;
        estimate.cached += l.cached;
        estimate.toFetch += l.toFetch;
        estimate.bytes += static_cast<double>(l.toFetch) * l.bytesPerTile;
    }
    const QStorageInfo disk(cacheRoot);
    if (disk.isValid())
        estimate.freeBytes = static_cast<double>(disk.bytesAvailable());
    return estimate;
}

std::optional<QString> EstimateRefusal(const RegionEstimate& estimate) {
    if (estimate.freeBytes < 0 || estimate.bytes <= estimate.freeBytes)
        return std::nullopt;
    return QCoreApplication::translate("RegionEstimate",
                                       "Закачка невозможна: по оценке нужно %1 МБ, а на диске "
                                       "кэша свободно %2 МБ.")
        .arg(Megabytes(estimate.bytes), Megabytes(estimate.freeBytes));
}

QStringList EstimateLines(const RegionEstimate& estimate) {
    QStringList lines;
    for (const LevelEstimate& l : estimate.levels)
        lines << QCoreApplication::translate("RegionEstimate",
                                             "уровень %1: фрагментов %2, в кэше %3, скачать %4, %5")
                     .arg(l.level)
                     .arg(l.tiles)
                     .arg(l.cached)
                     .arg(l.toFetch)
                     .arg(Volume(static_cast<double>(l.toFetch) * l.bytesPerTile,
                                 l.bytesPerTile > 0 || l.toFetch == 0));
    lines << QCoreApplication::translate("RegionEstimate",
                                         "всего: фрагментов %1, в кэше %2, скачать %3, %4")
                 .arg(estimate.tiles)
                 .arg(estimate.cached)
                 .arg(estimate.toFetch)
                 .arg(Volume(estimate.bytes, estimate.bytes > 0 || estimate.toFetch == 0));
    lines << (estimate.freeBytes < 0
                  ? QCoreApplication::translate("RegionEstimate",
                                                "свободное место на диске кэша неизвестно")
                  : QCoreApplication::translate("RegionEstimate", "свободно на диске кэша %1 МБ")
                        .arg(Megabytes(estimate.freeBytes)));
    return lines;
}
