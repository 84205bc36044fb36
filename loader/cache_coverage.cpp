// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/cache_coverage.h"

#include "tiles/tile_ref.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <limits>

CachedLetters::CachedLetters(const QStringList& names, const QString& suffix) {
    for (const QString& name : names) {
        if (!name.endsWith(suffix))
            continue;
        const QStringView letters = QStringView(name).chopped(suffix.size());
        if (IsQuadPath(letters))
            byLength_[letters.size()].push_back(letters.toString());
    }
    for (auto& [length, each] : byLength_)
        std::sort(each.begin(), each.end());
}

CachedLetters CachedLetters::OfSource(const TileSource& source, const QString& anyLetters) {
    const TileRequest request = source.Request(source.RefOf(anyLetters));
    if (!request.cacheFile)
        return {};
    const QFileInfo file(*request.cacheFile);
    const QString name = file.fileName();
    if (!name.startsWith(anyLetters))
        return {}; // a cache named otherwise than by the letters: nothing is counted
    QStringList names;
    // Unsorted and without file details: a large cache is listed at the speed of the folder.
    QDirIterator it(file.path(), QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext())
        names << it.nextFileInfo().fileName();
    return CachedLetters(names, name.mid(anyLetters.size()));
}

std::uint64_t CachedLetters::CountUnder(const QString& letters, int depth) const {
    const auto found = byLength_.find(letters.size() + depth);
    if (depth < 0 || found == byLength_.end())
        return 0;
    const std::vector<QString>& names = found->second;
    // Every name that starts with letters sorts between letters and letters followed by 'u',
    // the letter after the last quadrant letter.
    const auto first = std::lower_bound(names.begin(), names.end(), letters);
    const auto last = std::lower_bound(first, names.end(), letters + QLatin1Char('u'));
    return static_cast<std::uint64_t>(last - first);
}

CoverageShare CachedLetters::ShareAt(const QString& letters, int level) const {
    const int depth = level - static_cast<int>(letters.size());
    if (depth <= 0)
        return CountUnder(letters.left(level), 0) > 0 ? CoverageShare::All : CoverageShare::None;
    const std::uint64_t cached = CountUnder(letters, depth);
    // Past 31 levels down the whole subtree no longer fits the count: it is never all cached.
    const std::uint64_t all =
        depth < 32 ? std::uint64_t{1} << (2 * depth) : std::numeric_limits<std::uint64_t>::max();
    if (cached == 0)
        return CoverageShare::None;
    return cached >= all ? CoverageShare::All : CoverageShare::Part;
}
